// Histograms, percentile points and the lookup tables built from them.
#include "qelimaging/auto_levels.h"
#include "qelimaging/histogram.h"
#include "qelimaging/lut.h"
#include "kernel_widths.h"
#include "test_frame.h"

#include <gtest/gtest.h>

namespace qel::imaging {
namespace {

using testing::ForEveryKernelWidth;
using testing::FrameShape;
using testing::KernelShapes;
using testing::PatternColour;
using testing::TestFrame;

TestFrame UniformFrame(int width, int height, Rgb colour) {
    TestFrame frame(width, height);
    frame.Fill([&](int, int) { return colour; });
    return frame;
}

TEST(Histogram, CountsEachChannelByColourWhateverTheByteOrder) {
    for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
        TestFrame frame(5, 3, 3, 0, order);
        frame.Fill([](int x, int) { return Rgb{10, 20 + x, 30}; });
        Histogram histogram;
        EXPECT_EQ(BuildHistogram(frame.Data(), frame.Layout(), nullptr, histogram, false, true, 0, 0), 15);
        EXPECT_EQ(histogram.bins[0][10], 15.0f);
        EXPECT_EQ(histogram.bins[2][30], 15.0f);
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(histogram.bins[1][20 + x], 3.0f);
        }
    }
}

TEST(Histogram, SamplesAGridAndIncludesTheRegionsBothEnds) {
    TestFrame frame(100, 50);
    frame.Fill([](int, int) { return Rgb{1, 2, 3}; });
    Histogram histogram;
    // Steps of 10 columns and 5 rows: 10 x 10 samples, normalised to shares.
    EXPECT_EQ(BuildHistogram(frame.Data(), frame.Layout(), nullptr, histogram, true, false, 10, 10), 100);
    EXPECT_FLOAT_EQ(histogram.bins[0][1], 1.0f);
    const Region region{2, 3, 4, 5}; // columns 2..4 and rows 3..5, ends included
    EXPECT_EQ(BuildHistogram(frame.Data(), frame.Layout(), &region, histogram, false, true, 0, 0), 9);
}

TEST(Histogram, RejectsWhatItCannotRead) {
    TestFrame frame(4, 4);
    Histogram histogram;
    EXPECT_EQ(BuildHistogram(nullptr, frame.Layout(), nullptr, histogram, false, true, 0, 0), 0);
    PixelLayout twoChannels = frame.Layout();
    twoChannels.channels = 2;
    EXPECT_EQ(BuildHistogram(frame.Data(), twoChannels, nullptr, histogram, false, true, 0, 0), 0);
    PixelLayout empty = frame.Layout();
    empty.width = 0;
    EXPECT_EQ(BuildHistogram(frame.Data(), empty, nullptr, histogram, true, false, 10, 10), 0);
}

TEST(PercentilePoints, AUniformGreyGivesAHighPointOneAboveTheLow) {
    const TestFrame frame = UniformFrame(20, 10, Rgb{100, 100, 100});
    int high[3], low[3];
    ASSERT_TRUE(AutoLevelsPoints(frame.Data(), frame.Layout(), nullptr, high, low));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(low[c], 100);
        EXPECT_EQ(high[c], 101);
    }
    Lut lut = MakeIdentityLut(3);
    BuildLevelsLut(lut, high, low);
    EXPECT_EQ(lut.table[0][100], 0);
    EXPECT_EQ(lut.table[0][99], 0);
    EXPECT_EQ(lut.table[0][101], 255);
}

TEST(PercentilePoints, FractionsOutsideZeroToOneFallBackToOneAndNinetyNinePercent) {
    // 1000 samples over 250 levels: up to level k lies the share (k + 1) x 0.004.
    Histogram histogram{};
    for (int k = 0; k < 250; ++k) {
        histogram.bins[0][k] = 4.0f;
    }
    int high[1], low[1];
    ASSERT_TRUE(FindPercentilePoints(histogram, false, 1000, 1, high, low, 1.5f, -0.2f));
    EXPECT_EQ(low[0], 2);    // 0.012 is the first share above 1 %
    EXPECT_EQ(high[0], 247); // 0.992 is the first above 99 %
    EXPECT_FALSE(FindPercentilePoints(histogram, false, 0, 1, high, low, 0.9f, 0.1f))
        << "no pixels: no division";
}

TEST(LevelsLut, PointsAreHeldInsideZeroTo255) {
    const int high[3] = {300, 255, 40};
    const int low[3] = {-20, -5, -1};
    Lut lut = MakeIdentityLut(3);
    BuildLevelsLut(lut, high, low);
    // Red: 0..255, so the identity; green: the same; blue: 0..40.
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(lut.table[0][i], i);
        EXPECT_EQ(lut.table[1][i], i);
    }
    EXPECT_EQ(lut.table[2][0], 0);
    EXPECT_EQ(lut.table[2][20], 128);
    EXPECT_EQ(lut.table[2][40], 255);
}

TEST(GammaLut, GammaTwoMaps64To128AndKeepsTheEnds) {
    Lut lut = MakeIdentityLut(3);
    const float gammas[3] = {2.0f, 1.0f, -3.0f};
    BuildGammaLut(lut, gammas);
    EXPECT_EQ(lut.table[0][64], 128);
    EXPECT_EQ(lut.table[0][0], 0);
    EXPECT_EQ(lut.table[0][255], 255);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(lut.table[1][i], i);
        EXPECT_EQ(lut.table[2][i], i) << "a negative gamma is taken as 1";
    }
}

TEST(ComposeLut, AppliesTheSourceAfterTheDestination) {
    Lut first = MakeIdentityLut(3);
    Lut second = MakeIdentityLut(1);
    for (int i = 0; i < 256; ++i) {
        first.table[0][i] = static_cast<std::uint8_t>(255 - i);
        second.table[0][i] = static_cast<std::uint8_t>(i / 2);
    }
    ComposeLut(first, second);
    EXPECT_EQ(first.table[0][0], 127);
    EXPECT_EQ(first.table[1][200], 100);
    EXPECT_EQ(first.table[2][10], 5);
}

// Plain per-pixel reference: each byte through the table of its colour.
void ReferenceApplyLut(const TestFrame& in, TestFrame& out, const Lut& lut, const Span& span) {
    for (int y = span.y0; y < span.y1; ++y) {
        for (int x = span.x0; x < span.x1; ++x) {
            const Rgb c = in.ColourAt(x, y);
            const int g = lut.channels == 1 ? 0 : 1;
            const int b = lut.channels == 1 ? 0 : 2;
            out.SetColour(x, y, Rgb{lut.table[0][c.red], lut.table[g][c.green], lut.table[b][c.blue]});
        }
    }
}

// ApplyLut over `region` into a copy, then in place over the whole frame, each against the reference.
void ExpectLikeTheReference(TestFrame& in, const Lut& lut, const Region& region) {
    TestFrame out(in);
    TestFrame expected(in);
    ASSERT_TRUE(ApplyLut(in.Data(), out.Data(), in.Layout(), &region, lut));
    ReferenceApplyLut(in, expected, lut, ClipRegion(in.Layout(), &region));
    EXPECT_TRUE(out.PixelsEqual(expected));
    EXPECT_TRUE(out.PaddingIntact());
    const TestFrame original(in);
    ASSERT_TRUE(ApplyLut(in.Data(), in.Data(), in.Layout(), nullptr, lut));
    TestFrame whole(original);
    ReferenceApplyLut(original, whole, lut, ClipRegion(in.Layout(), nullptr));
    EXPECT_TRUE(in.PixelsEqual(whole));
    EXPECT_TRUE(in.PaddingIntact());
}

TEST(ApplyLut, MatchesTheReferenceAtEveryShapeAndLeavesPaddingAlone) {
    Lut lut = MakeIdentityLut(3);
    for (int i = 0; i < 256; ++i) {
        lut.table[0][i] = static_cast<std::uint8_t>(255 - i);
        lut.table[1][i] = static_cast<std::uint8_t>(i / 3);
        lut.table[2][i] = static_cast<std::uint8_t>((i * 7) & 255);
    }
    for (const FrameShape& shape : KernelShapes()) {
        for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
            SCOPED_TRACE(::testing::Message()
                         << shape.width << "x" << shape.height << " +" << shape.extraPadding);
            TestFrame in(shape.width, shape.height, 3, shape.extraPadding, order);
            in.Fill([](int x, int y) { return PatternColour(x, y); });
            ExpectLikeTheReference(in, lut, Region{1, 0, shape.width - 1, 2});
        }
    }
}

// Three different tables, so that a byte taken through its neighbour's table shows.
Lut ScrambledLut() {
    Lut lut = MakeIdentityLut(3);
    for (int i = 0; i < 256; ++i) {
        lut.table[0][i] = static_cast<std::uint8_t>(255 - i);
        lut.table[1][i] = static_cast<std::uint8_t>((i * 37 + 11) & 255);
        lut.table[2][i] = static_cast<std::uint8_t>((i * 7) ^ 0x5A);
    }
    return lut;
}

// Rows of whole groups of 64 pixels (192 bytes), a group and a tail, and starts off the group grid.
TEST(ApplyLut, EveryKernelWidthMatchesTheReferenceAcrossGroupEdges) {
    const Lut lut = ScrambledLut();
    ForEveryKernelWidth([&] {
        for (int width : {63, 64, 65, 127, 128, 129, 200, 1280}) {
            for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
                SCOPED_TRACE(::testing::Message() << "width " << width);
                TestFrame in(width, -3, 3, 1, order);
                in.Fill([](int x, int y) { return PatternColour(x, y, 3); });
                ExpectLikeTheReference(in, lut, Region{1, 0, width, 3});
            }
        }
        // One-byte pixels: a group is 192 pixels.
        Lut single = ScrambledLut();
        single.channels = 1;
        for (int width : {191, 192, 193, 500}) {
            SCOPED_TRACE(::testing::Message() << "grey width " << width);
            TestFrame grey(width, 2, 1, 3);
            grey.FillGrey([](int x, int y) { return (x * 29 + y * 101) & 255; });
            const TestFrame original(grey);
            ASSERT_TRUE(ApplyLut(grey.Data(), grey.Data(), grey.Layout(), nullptr, single));
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(grey.At(x, y)[0], single.table[0][original.At(x, y)[0]]) << x << "," << y;
                }
            }
            EXPECT_TRUE(grey.PaddingIntact());
        }
    });
}

// Measuring through a table gives what measuring the mapped frame gives.
TEST(AutoContrast, MeasuredThroughATableAsOnTheMappedFrame) {
    const Lut through = ScrambledLut();
    for (const FrameShape& shape : {FrameShape{640, 480, 0}, FrameShape{33, -19, 1}, FrameShape{1, 1, 0}}) {
        SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
        TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
        in.Fill([](int x, int y) { return PatternColour(x, y, 9); });
        TestFrame mapped(in);
        ASSERT_TRUE(ApplyLut(in.Data(), mapped.Data(), in.Layout(), nullptr, through));
        for (int strength : {0, 100, 150, 300}) {
            Lut expected = MakeIdentityLut(3);
            Lut measured = MakeIdentityLut(3);
            ASSERT_TRUE(BuildAutoContrastLut(mapped.Data(), in.Layout(), nullptr, strength, expected));
            ASSERT_TRUE(BuildAutoContrastLutThrough(in.Data(), in.Layout(), nullptr, through, strength, measured));
            for (int c = 0; c < 3; ++c) {
                for (int i = 0; i < 256; ++i) {
                    ASSERT_EQ(measured.table[c][i], expected.table[c][i]) << strength << " " << c << " " << i;
                }
            }
        }
    }
}

TEST(ApplyLut, AnIdentityTableCopiesTheRegionAndNothingElse) {
    const Lut identity = MakeIdentityLut(3);
    for (const FrameShape& shape : KernelShapes()) {
        SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height << " +" << shape.extraPadding);
        TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
        in.Fill([](int x, int y) { return PatternColour(x, y, 6); });
        TestFrame out(shape.width, shape.height, 3, shape.extraPadding);
        out.Fill([](int, int) { return Rgb{1, 2, 3}; });
        TestFrame expected(out);
        const Region region{1, 0, shape.width - 1, 2};
        ASSERT_TRUE(ApplyLut(in.Data(), out.Data(), in.Layout(), &region, identity));
        ReferenceApplyLut(in, expected, identity, ClipRegion(in.Layout(), &region));
        EXPECT_TRUE(out.PixelsEqual(expected));
        EXPECT_TRUE(out.PaddingIntact());
        // Contrast and brightness 0 make the identity: the frame comes out as it went in.
        Lut neutral = MakeIdentityLut(3);
        const int zero[3] = {0, 0, 0};
        BuildContrastBrightnessLut(neutral, zero, zero);
        TestFrame whole(in);
        ASSERT_TRUE(ApplyLut(in.Data(), whole.Data(), in.Layout(), nullptr, neutral));
        EXPECT_TRUE(whole.PixelsEqual(in));
    }
}

TEST(ApplyLut, OneChannelImagesAndBadArguments) {
    TestFrame grey(7, 3, 1);
    grey.FillGrey([](int x, int y) { return x * 30 + y; });
    Lut invert = MakeIdentityLut(1);
    for (int i = 0; i < 256; ++i) {
        invert.table[0][i] = static_cast<std::uint8_t>(255 - i);
    }
    ASSERT_TRUE(ApplyLut(grey.Data(), grey.Data(), grey.Layout(), nullptr, invert));
    EXPECT_EQ(grey.At(2, 1)[0], 255 - 61);
    EXPECT_TRUE(grey.PaddingIntact());
    EXPECT_FALSE(ApplyLut(nullptr, grey.Data(), grey.Layout(), nullptr, invert));
    PixelLayout shortRows = grey.Layout();
    shortRows.stride = 3;
    EXPECT_FALSE(ApplyLut(grey.Data(), grey.Data(), shortRows, nullptr, invert));
}

TEST(AutoContrast, StrengthZeroIsTheIdentityAndHundredStretchesToThePoints) {
    TestFrame frame(40, 30);
    frame.Fill([](int x, int y) {
        const int v = 60 + (x * 30 + y) % 121; // levels 60..180
        return Rgb{v, v, v};
    });
    Lut lut = MakeIdentityLut(3);
    ASSERT_TRUE(BuildAutoContrastLut(frame.Data(), frame.Layout(), nullptr, 0, lut));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(lut.table[0][i], i);
    }
    ASSERT_TRUE(BuildAutoContrastLut(frame.Data(), frame.Layout(), nullptr, 100, lut));
    EXPECT_EQ(lut.table[0][60], 0);
    EXPECT_EQ(lut.table[1][181], 255);
    EXPECT_GT(lut.table[2][120], 100);
    EXPECT_LT(lut.table[2][120], 155);

    TestFrame out(frame);
    ASSERT_TRUE(AutoContrast(frame.Data(), out.Data(), frame.Layout(), nullptr, nullptr, 100));
    EXPECT_EQ(out.ColourAt(0, 0).red, lut.table[0][60]);
    EXPECT_TRUE(out.PaddingIntact());
}

TEST(AutoContrast, StrengthsAboveHundredCloseInOnMidGrey) {
    TestFrame frame(30, 30);
    frame.Fill([](int x, int y) {
        const int v = (x * 30 + y * 7) % 256;
        return Rgb{v, 255 - v, v};
    });
    Lut lut = MakeIdentityLut(3);
    ASSERT_TRUE(BuildAutoContrastLut(frame.Data(), frame.Layout(), nullptr, 400, lut));
    EXPECT_EQ(lut.table[0][127], 0);
    EXPECT_EQ(lut.table[0][128], 255);
    ASSERT_TRUE(BuildAutoContrastLut(frame.Data(), frame.Layout(), nullptr, 200, lut));
    EXPECT_EQ(lut.table[0][63], 0);
    EXPECT_EQ(lut.table[0][192], 255);
    EXPECT_FALSE(BuildAutoContrastLut(nullptr, frame.Layout(), nullptr, 100, lut));
}

TEST(ContrastBrightness, NeutralIsTheIdentityAndFullBrightnessIsWhite) {
    Lut lut = MakeIdentityLut(3);
    const int none[3] = {0, 0, 0};
    const int full[3] = {100, 100, 100};
    BuildContrastBrightnessLut(lut, none, none);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(lut.table[0][i], i);
    }
    BuildContrastBrightnessLut(lut, none, full);
    EXPECT_EQ(lut.table[0][0], 255);
    BuildContrastBrightnessLut(lut, full, none);
    EXPECT_EQ(lut.table[1][125], 0) << "contrast 100 is nearly a threshold about mid-grey";
    EXPECT_EQ(lut.table[1][130], 255);

    TestFrame frame(9, 5);
    frame.Fill([](int x, int y) { return PatternColour(x, y); });
    TestFrame out(frame);
    ASSERT_TRUE(ApplyContrastBrightness(frame.Data(), out.Data(), frame.Layout(), nullptr, none, none));
    EXPECT_TRUE(out.PixelsEqual(frame));
}

} // namespace
} // namespace qel::imaging
