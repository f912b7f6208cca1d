// Noise and the Snow overlay.
#include "qelimaging/auto_levels.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/noise.h"
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

// The flakes screened on pixel by pixel, then the wash-out cube and the brightness table as whole
// passes: the straightforward form of ApplySnowFlakes.
void ReferenceSnowApply(const TestFrame& in, TestFrame& out, const SnowFlakes& flakes) {
    const PixelLayout& layout = in.Layout();
    CopyFramePixels(in.Data(), out.Data(), layout);
    for (int y = 0; y < RowCount(layout); ++y) {
        for (int x = 0; x < layout.width; ++x) {
            std::uint8_t* pixel = out.At(x, y);
            for (int c = 0; c < 3; ++c) {
                const int s = pixel[c];
                const int n = flakes.values[(static_cast<std::size_t>(y) * layout.width + x) * 3 + c];
                pixel[c] = static_cast<std::uint8_t>(s + n - s * n / 255);
            }
        }
    }
    ColourCube washOut;
    BuildHueSaturationCube(washOut, 0, -50);
    ASSERT_TRUE(ApplyCube(out.Data(), out.Data(), layout, nullptr, washOut));
    const int contrasts[3] = {0, 0, 0};
    const int brightnesses[3] = {10, 10, 10};
    ASSERT_TRUE(ApplyContrastBrightness(out.Data(), out.Data(), layout, nullptr, contrasts, brightnesses));
}

TEST(AddNoise, NothingButACopyWithoutAmountOrCoverage) {
    TestFrame in(33, 19, 3, 1);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    NoiseRandom random(7);
    for (const auto& [amount, coverage] : {std::pair{0, 50}, std::pair{50, 0}}) {
        TestFrame out(33, 19, 3, 1);
        ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), amount, coverage, random));
        EXPECT_TRUE(out.PixelsEqual(in));
        EXPECT_TRUE(out.PaddingIntact());
    }
}

TEST(AddNoise, ChoosesTheCoveredShareOfEveryRowAndPushesItTowardWhite) {
    TestFrame in(40, 12, 1);
    in.FillGrey([](int, int) { return 100; });
    TestFrame out(in);
    NoiseRandom random(3);
    ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), 100, 25, random));
    for (int y = 0; y < 12; ++y) {
        int changedOrChosen = 0;
        for (int x = 0; x < 40; ++x) {
            const int v = out.At(x, y)[0];
            EXPECT_GE(v, 100);
            changedOrChosen += v != 100 ? 1 : 0;
        }
        EXPECT_LE(changedOrChosen, 10) << "25 % of 40 columns at most";
        EXPECT_GE(changedOrChosen, 5) << "a random share of zero is rare";
    }
    EXPECT_TRUE(out.PaddingIntact());
}

TEST(AddNoise, ANegativeAmountDarkensAndOutOfRangeValuesAreBounded) {
    TestFrame in(25, 9);
    in.Fill([](int, int) { return Rgb{200, 150, 250}; });
    TestFrame out(in);
    NoiseRandom random(11);
    ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), -500, 400, random));
    int darker = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 25; ++x) {
            const Rgb c = out.ColourAt(x, y);
            EXPECT_LE(c.red, 200);
            EXPECT_LE(c.blue, 250);
            darker += c.red < 200 ? 1 : 0;
        }
    }
    EXPECT_GT(darker, 100) << "coverage above 100 is every column";
    EXPECT_FALSE(AddNoise(nullptr, out.Data(), in.Layout(), 10, 10, random));
}

TEST(SnowLayer, DensityZeroCopiesTheSource) {
    TestFrame in(33, 19, 3, 3);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    TestFrame out(33, 19, 3, 3);
    NoiseRandom random;
    ASSERT_TRUE(SnowLayer(in.Data(), out.Data(), in.Layout(), 0, random));
    EXPECT_TRUE(out.PixelsEqual(in));
    EXPECT_TRUE(out.PaddingIntact());
}

TEST(SnowLayer, FlakesLightenTheDarkPictureAndRepeatWithTheSeed) {
    for (int height : {48, -48}) {
        TestFrame in(64, height, 3, 4);
        in.Fill([](int, int) { return Rgb{20, 30, 40}; });
        TestFrame first(in), second(in);
        NoiseRandom a(5), b(5);
        ASSERT_TRUE(SnowLayer(in.Data(), first.Data(), in.Layout(), 100, a));
        ASSERT_TRUE(SnowLayer(in.Data(), second.Data(), in.Layout(), 100, b));
        EXPECT_TRUE(first.PixelsEqual(second));
        int flakes = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const Rgb c = first.ColourAt(x, y);
                EXPECT_GT(c.green, 30) << "brightness +10 lifts every pixel";
                flakes += c.green > 150 ? 1 : 0;
            }
        }
        EXPECT_GT(flakes, 0);
        EXPECT_LT(flakes, 64 * 48 / 2);
        EXPECT_TRUE(first.PaddingIntact());
        // In place gives the same picture.
        NoiseRandom c(5);
        ASSERT_TRUE(SnowLayer(in.Data(), in.Data(), in.Layout(), 100, c));
        EXPECT_TRUE(in.PixelsEqual(first));
    }
}

TEST(SnowFlakes, ScreeningEveryPixelValueUnderEveryFlakeValueMatchesTheReference) {
    // Column x holds value x in its three bytes, row y lies under flake value y.
    TestFrame in(256, 256, 3, 0);
    in.Fill([](int x, int) { return Rgb{x, x, x}; });
    SnowFlakes flakes;
    flakes.width = 256;
    flakes.rows = 256;
    flakes.values.resize(3 * 256 * 256);
    for (std::size_t i = 0; i < flakes.values.size(); ++i) {
        flakes.values[i] = static_cast<std::uint8_t>(i / (3 * 256));
    }
    ForEveryKernelWidth([&] {
        TestFrame fast(in), reference(in);
        ASSERT_TRUE(ApplySnowFlakes(in.Data(), fast.Data(), in.Layout(), flakes));
        ReferenceSnowApply(in, reference, flakes);
        EXPECT_EQ(fast.MaxDifference(reference), 0);
    });
}

TEST(SnowFlakes, BuiltLayersScreenedAtEveryShapeMatchTheReferenceAndSnowLayerIsBoth) {
    for (const FrameShape& shape : KernelShapes()) {
        SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
        TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
        in.Fill([](int x, int y) { return PatternColour(x, y, 2); });
        NoiseRandom random(9);
        SnowFlakes flakes;
        ASSERT_TRUE(BuildSnowFlakes(shape.width, RowCount(in.Layout()), 60, random, flakes));
        ForEveryKernelWidth([&] {
            TestFrame fast(in), reference(in), whole(in);
            ASSERT_TRUE(ApplySnowFlakes(in.Data(), fast.Data(), in.Layout(), flakes));
            ReferenceSnowApply(in, reference, flakes);
            EXPECT_EQ(fast.MaxDifference(reference), 0);
            EXPECT_TRUE(fast.PaddingIntact());
            NoiseRandom again(9);
            ASSERT_TRUE(SnowLayer(in.Data(), whole.Data(), in.Layout(), 60, again));
            EXPECT_TRUE(whole.PixelsEqual(fast)) << "SnowLayer is building then screening";
        });
    }
}

TEST(SnowFlakes, FlakesOfAnotherSizeAreRefused) {
    TestFrame in(16, 8);
    NoiseRandom random;
    SnowFlakes flakes;
    ASSERT_TRUE(BuildSnowFlakes(16, 7, 50, random, flakes));
    TestFrame out(in);
    EXPECT_FALSE(ApplySnowFlakes(in.Data(), out.Data(), in.Layout(), flakes));
    EXPECT_TRUE(out.PixelsEqual(in));
    EXPECT_FALSE(BuildSnowFlakes(-1, 7, 50, random, flakes));
    EXPECT_TRUE(flakes.values.empty());
}

TEST(SnowLayer, OneChannelAndTinyFrames) {
    TestFrame grey(8, 8, 1);
    NoiseRandom random;
    EXPECT_FALSE(SnowLayer(grey.Data(), grey.Data(), grey.Layout(), 50, random));
    TestFrame pixel(1, 1);
    pixel.Fill([](int, int) { return Rgb{0, 0, 0}; });
    EXPECT_TRUE(SnowLayer(pixel.Data(), pixel.Data(), pixel.Layout(), 50, random));
    EXPECT_TRUE(pixel.PaddingIntact());
}

} // namespace
} // namespace qel::imaging
