// The whiteboard enhancement: its tables, its map and the whole routine against a step-by-step reference.
#include "qelimaging/whiteboard.h"
#include "qelimaging/whiteboard_steps.h"
#include "kernel_widths.h"
#include "test_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qel::imaging {
namespace {

using namespace whiteboard;
using testing::ForEveryKernelWidth;
using testing::PatternColour;
using testing::TestFrame;

WhiteboardImage Describe(const TestFrame& in, TestFrame& out) {
    const PixelLayout& layout = in.Layout();
    return WhiteboardImage{
        layout.width, layout.height, layout.stride, 3, 8, layout.order == ByteOrder::BGR ? 1 : 0,
        in.Data(),    out.Data()};
}

WhiteboardParams WithStrength(int strength) {
    WhiteboardParams params{};
    params.strength = strength;
    return params;
}

// A sheet under uneven light: bright paper darkening toward one corner, dark strokes, one red stroke.
Rgb SheetColour(int x, int y) {
    const int paper = 215 - x / 3 - y / 4;
    if ((x + 2 * y) % 11 == 0) {
        return Rgb{40, 42, 45};
    }
    if (y % 9 == 4 && x % 5 != 0) {
        return Rgb{190, 30, 35};
    }
    return Rgb{paper, paper - 4, paper - 12};
}

TEST(WhiteboardTables, WhiteLevelFollowsTheStrength) {
    EXPECT_EQ(WhiteLevelForStrength(0), 255);
    EXPECT_EQ(WhiteLevelForStrength(49), 230);
    EXPECT_EQ(WhiteLevelForStrength(50), 229);
    EXPECT_EQ(WhiteLevelForStrength(60), 183);
    EXPECT_EQ(WhiteLevelForStrength(95), 22);
    EXPECT_EQ(WhiteLevelForStrength(100), 0);
    EXPECT_EQ(WhiteLevelForStrength(-1), 230);
    EXPECT_EQ(WhiteLevelForStrength(101), 230);
}

TEST(WhiteboardTables, BlockSizeFollowsTheFrameSize) {
    EXPECT_EQ(BlockSize(640, 480), 4);
    EXPECT_EQ(BlockSize(320, 240), 2);
    EXPECT_EQ(BlockSize(160, 120), 1);
    EXPECT_EQ(BlockSize(1280, 720), 8);
    EXPECT_EQ(BlockSize(1, 1), 1);
    EXPECT_EQ(BlockSize(0, 0), 1) << "never a block of 0";
}

TEST(WhiteboardTables, GammaDarkensMidTones) {
    std::uint8_t table[256];
    BuildGammaTable(0.6f, table);
    EXPECT_EQ(table[128], 81);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[255], 255);
    BuildGammaTable(-1.0f, table);
    EXPECT_EQ(table[77], 77);
}

TEST(WhiteboardTables, BalanceCurvePassesThroughItsThreePoints) {
    std::uint8_t table[256];
    BuildBalanceTable(100, 120, table);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[100], 120);
    EXPECT_EQ(table[255], 255);
    for (int i = 1; i < 256; ++i) {
        EXPECT_GE(table[i], table[i - 1]) << i;
    }
    BuildBalanceTable(128, 128, table);
    for (int i = 0; i < 256; ++i) {
        EXPECT_NEAR(table[i], i, 1);
    }
}

TEST(WhiteboardTables, AMeanOf255GivesTheIdentityNotABlackComponent) {
    std::uint8_t table[256];
    BuildBalanceTable(255, 240, table);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(table[i], i);
    }
    // A whole frame whose green and red are saturated at 255 stays bright there.
    TestFrame in(40, 30);
    in.Fill([](int, int) { return Rgb{255, 255, 200}; });
    TestFrame out(in);
    const WhiteboardImage image = Describe(in, out);
    const WhiteboardParams params = WithStrength(50);
    ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
    const Rgb c = out.ColourAt(20, 15);
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 255);
}

TEST(WhiteboardTables, StronglyColouredScenesSkipTheBalance) {
    int targets[3];
    const int coloured[3] = {50, 60, 200};
    EXPECT_FALSE(BalanceTargets(coloured, targets));
    const int warm[3] = {150, 170, 190};
    ASSERT_TRUE(BalanceTargets(warm, targets));
    EXPECT_EQ(targets[0], (150 + 3 * 170) / 4);
    EXPECT_EQ(targets[2], (190 + 3 * 170) / 4);
}

TEST(WhiteboardMap, WithoutBackgroundCellsTheFlatteningIsSkipped) {
    const std::uint8_t luma[4] = {76, 76, 76, 76};
    const std::uint8_t saturation[4] = {255, 255, 255, 255};
    std::uint8_t foreground[4];
    EXPECT_FALSE(ClassifyCells(luma, saturation, 4, foreground).found);
    // A pure red frame is all foreground: only the gamma is left, which keeps 0 and 255.
    TestFrame in(33, 19);
    in.Fill([](int, int) { return Rgb{255, 0, 0}; });
    TestFrame out(33, 19);
    const WhiteboardImage image = Describe(in, out);
    const WhiteboardParams params = WithStrength(50);
    ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
    EXPECT_TRUE(out.PixelsEqual(in));
}

// Sort the clipped window, take the smallest value with half the cells at or below it.
int ReferenceMedian(const std::vector<std::uint8_t>& in, int columns, int rows, int x, int y) {
    std::vector<int> window;
    for (int wy = std::max(y - 7, 0); wy <= std::min(y + 7, rows - 1); ++wy) {
        for (int wx = std::max(x - 7, 0); wx <= std::min(x + 7, columns - 1); ++wx) {
            window.push_back(in[wy * columns + wx]);
        }
    }
    std::sort(window.begin(), window.end());
    const std::size_t half = std::max<std::size_t>(window.size() / 2, 1);
    return window[half - 1];
}

TEST(WhiteboardMap, MedianOfTheWindow) {
    // 20 x 3 cells: a ramp along x; every window spans all three rows.
    std::vector<std::uint8_t> in(60), out(60);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 20; ++x) {
            in[y * 20 + x] = static_cast<std::uint8_t>(x * 10 + y);
        }
    }
    MedianFilter15(in.data(), out.data(), 20, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(out[y * 20 + x], ReferenceMedian(in, 20, 3, x, y)) << x << "," << y;
        }
    }
    const std::uint8_t single = 42;
    std::uint8_t smoothed = 0;
    MedianFilter15(&single, &smoothed, 1, 1);
    EXPECT_EQ(smoothed, 42) << "the median of one cell is that cell";
}

// Maps as the camera gives them (smooth with writing, and noise over all 256 values) at sizes where the
// window is clipped on every side or nowhere, against the sorted windows.
TEST(WhiteboardMap, MedianOfEveryWindowOfLargeAndOddMaps) {
    struct Size {
        int columns, rows;
    };
    for (const Size size : {Size{160, 120}, Size{1, 40}, Size{40, 1}, Size{15, 15}, Size{16, 17}, Size{33, 9}}) {
        for (int kind = 0; kind < 2; ++kind) {
            SCOPED_TRACE(::testing::Message() << size.columns << "x" << size.rows << (kind ? " noise" : " smooth"));
            std::vector<std::uint8_t> in(static_cast<std::size_t>(size.columns) * size.rows), out(in.size());
            std::uint32_t state = 11;
            for (int y = 0; y < size.rows; ++y) {
                for (int x = 0; x < size.columns; ++x) {
                    state = state * 1664525u + 1013904223u;
                    const int smooth = 200 - x / 3 - y / 2 - ((x + 2 * y) % 13 == 0 ? 120 : 0);
                    in[y * size.columns + x] = static_cast<std::uint8_t>(kind ? state >> 24 : smooth);
                }
            }
            MedianFilter15(in.data(), out.data(), size.columns, size.rows);
            for (int y = 0; y < size.rows; ++y) {
                for (int x = 0; x < size.columns; ++x) {
                    ASSERT_EQ(out[y * size.columns + x], ReferenceMedian(in, size.columns, size.rows, x, y))
                        << x << "," << y;
                }
            }
        }
    }
}

TEST(WhiteboardMap, ForegroundCellsTakeTheirNeighboursBackground) {
    // 4 x 3 cells of background 200 with one dark inner cell.
    std::uint8_t luma[12];
    std::fill(luma, luma + 12, 200);
    luma[5] = 30;
    std::uint8_t foreground[12] = {};
    foreground[5] = 1;
    BackgroundBounds bounds;
    bounds.found = true;
    bounds.lower = 133;
    bounds.upper = 240;
    bounds.floor = 66;
    FillForeground(luma, foreground, 4, 3, bounds);
    EXPECT_EQ(luma[5], 200);
    // A border cell below the floor becomes the lower bound.
    luma[0] = 10;
    foreground[0] = 1;
    FillForeground(luma, foreground, 4, 3, bounds);
    EXPECT_EQ(luma[0], 133);
}

// The four steps one after another over whole frames, from the formulas, without the fused pass or
// the precomputed flattening table.
TestFrame ReferenceEnhance(const TestFrame& in, int strength) {
    const PixelLayout& layout = in.Layout();
    const int width = layout.width;
    const int rows = RowCount(layout);
    TestFrame out(in);
    // Step 1.
    int means[3], targets[3];
    std::uint8_t balance[3][256];
    const bool balanced =
        MeasureComponentMeans(in.Data(), width, rows, layout.stride, means) && BalanceTargets(means, targets);
    for (int c = 0; c < 3; ++c) {
        BuildBalanceTable(balanced ? means[c] : 0, balanced ? targets[c] : 0, balance[c]);
    }
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = out.At(x, y);
            for (int c = 0; c < 3; ++c) {
                p[c] = balance[c][p[c]];
            }
        }
    }
    // Step 2.
    const int v = BlockSize(width, rows);
    const int columns = (width + v - 1) / v;
    const int cellRows = (rows + v - 1) / v;
    std::vector<std::uint8_t> luma(columns * cellRows), saturation(luma.size()), foreground(luma.size()),
        map(luma.size());
    for (int cy = 0; cy < cellRows; ++cy) {
        for (int cx = 0; cx < columns; ++cx) {
            const Rgb c = out.ColourAt(cx * v, cy * v);
            const int high = std::max({c.red, c.green, c.blue});
            const int low = std::min({c.red, c.green, c.blue});
            luma[cy * columns + cx] = static_cast<std::uint8_t>((c.blue + 6 * c.green + 3 * c.red + 5) / 10);
            saturation[cy * columns + cx] =
                static_cast<std::uint8_t>(high == 0 ? 0 : std::lround((high - low) * 255.0 / high));
        }
    }
    const BackgroundBounds bounds =
        ClassifyCells(luma.data(), saturation.data(), columns * cellRows, foreground.data());
    if (bounds.found) {
        FillForeground(luma.data(), foreground.data(), columns, cellRows, bounds);
        MedianFilter15(luma.data(), map.data(), columns, cellRows);
        auto logOf = [](int k) {
            return 100.0f * std::log(k == 0 ? 1.0f / 510.0f : static_cast<float>(k) / 255.0f);
        };
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb c = out.ColourAt(x, y);
                const int yy = (c.blue + 6 * c.green + 3 * c.red + 5) / 10;
                const int background =
                    map[std::min(y / v, cellRows - 1) * columns + std::min(x / v, columns - 1)];
                const int index = static_cast<int>(logOf(yy) - logOf(background) + 650.0f);
                const int flat = std::clamp(
                    static_cast<int>(std::lround(255.0 * std::exp((index - 650) / 100.0))), 0, 255);
                const int cb = c.blue - yy, cr = c.red - yy;
                out.SetColour(x, y,
                              Rgb{std::clamp(flat + cr, 0, 255),
                                  std::clamp(flat - (3 * cr + cb - 3) / 6, 0, 255),
                                  std::clamp(flat + cb, 0, 255)});
            }
        }
    }
    // Steps 3 and 4.
    const int level = WhiteLevelForStrength(strength);
    std::uint8_t gamma[256];
    BuildGammaTable(0.6f, gamma);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = out.At(x, y);
            const int spread = std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
            for (int c = 0; c < 3; ++c) {
                if (spread <= 25 && p[c] > level) {
                    p[c] = 255;
                }
                p[c] = gamma[p[c]];
            }
        }
    }
    return out;
}

TEST(EnhanceWhiteboard, MatchesTheStepByStepReferenceAtEveryShape) {
    struct Case {
        int width, height, padding, strength;
        ByteOrder order;
    };
    const Case cases[] = {{33, 19, 0, 50, ByteOrder::BGR},   {33, -19, 0, 50, ByteOrder::BGR},
                          {31, 8, 5, 0, ByteOrder::BGR},     {64, 48, 0, 100, ByteOrder::RGB},
                          {161, 121, 2, 70, ByteOrder::BGR}, {1, 1, 0, 50, ByteOrder::BGR},
                          {2, 200, 0, 30, ByteOrder::BGR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " strength " << c.strength);
        TestFrame in(c.width, c.height, 3, c.padding, c.order);
        in.Fill(SheetColour);
        TestFrame out(c.width, c.height, 3, c.padding, c.order);
        const WhiteboardImage image = Describe(in, out);
        const WhiteboardParams params = WithStrength(c.strength);
        ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
        EXPECT_TRUE(out.PixelsEqual(ReferenceEnhance(in, c.strength)));
        EXPECT_TRUE(out.PaddingIntact());
        // In place: the same result.
        const WhiteboardImage inPlace = Describe(in, in);
        ASSERT_EQ(EnhanceWhiteboard(&inPlace, &params, nullptr), kWhiteboardOk);
        EXPECT_TRUE(in.PixelsEqual(out));
    }
}

// A sheet under camera noise: every pixel a little off, so that the wide pass meets every branch
// (coloured ink, near-grey, clamped rebuilds) in one group.
Rgb NoisySheetColour(int x, int y) {
    const Rgb sheet = SheetColour(x, y);
    const Rgb noise = PatternColour(x, y, 5);
    auto mix = [](int a, int n) { return std::clamp(a + (n - 128) / 5, 0, 255); };
    return Rgb{mix(sheet.red, noise.red), mix(sheet.green, noise.green), mix(sheet.blue, noise.blue)};
}

TEST(EnhanceWhiteboard, ANoisySheetMatchesTheReferenceInBothOrders) {
    for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
        TestFrame in(203, -77, 3, 1, order);
        in.Fill(NoisySheetColour);
        TestFrame out(in);
        const WhiteboardImage image = Describe(in, out);
        const WhiteboardParams params = WithStrength(60);
        ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
        EXPECT_EQ(out.MaxDifference(ReferenceEnhance(in, 60)), 0);
        EXPECT_TRUE(out.PaddingIntact());
    }
}

// Every pass the processor has against the reference: rows of whole groups of 64 pixels, groups with a
// tail, a map of one-pixel blocks (64 backgrounds in one group) and a camera frame, in place as well.
TEST(EnhanceWhiteboard, EveryKernelWidthMatchesTheReference) {
    struct Case {
        int width, height, strength;
        ByteOrder order;
    };
    const Case cases[] = {{1280, 720, 50, ByteOrder::BGR}, {64, 9, 100, ByteOrder::BGR},
                          {129, -67, 0, ByteOrder::RGB},   {160, 120, 70, ByteOrder::BGR},
                          {63, 5, 50, ByteOrder::BGR},     {200, 33, 30, ByteOrder::RGB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " strength " << c.strength);
        TestFrame in(c.width, c.height, 3, 2, c.order);
        in.Fill(NoisySheetColour);
        const TestFrame expected = ReferenceEnhance(in, c.strength);
        const WhiteboardParams params = WithStrength(c.strength);
        ForEveryKernelWidth([&] {
            TestFrame out(c.width, c.height, 3, 2, c.order);
            const WhiteboardImage image = Describe(in, out);
            ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
            EXPECT_EQ(out.MaxDifference(expected), 0);
            EXPECT_TRUE(out.PaddingIntact());
            TestFrame inPlace(in);
            const WhiteboardImage same = Describe(inPlace, inPlace);
            ASSERT_EQ(EnhanceWhiteboard(&same, &params, nullptr), kWhiteboardOk);
            EXPECT_EQ(inPlace.MaxDifference(expected), 0);
            EXPECT_TRUE(inPlace.PaddingIntact());
        });
    }
}

// A noisy sheet with a band of ramps every few rows: every byte value in every component, so that each
// entry of the balance and gamma tables is met, and rebuilds clamp at both ends.
Rgb RampedSheetColour(int x, int y) {
    if (y % 5 != 2) {
        return NoisySheetColour(x, y);
    }
    return Rgb{(5 * x + y) % 256, (3 * x + 7) % 256, (11 * x + 2 * y) % 256};
}

// Saturated colours only: no background cell, so the flattening is skipped, and the balance with it;
// the spread of red and blue crosses the near-grey limit along the ramp.
Rgb SaturatedRampColour(int x, int y) {
    const int v = (x + 3 * y) % 256;
    return Rgb{v, 0, 255 - v};
}

TEST(EnhanceWhiteboard, EveryTableEntryMatchesTheReferenceAtEveryKernelWidth) {
    struct Case {
        Rgb (*colour)(int, int);
        int strength;
        ByteOrder order;
    };
    const Case cases[] = {{RampedSheetColour, 30, ByteOrder::BGR},
                          {RampedSheetColour, 100, ByteOrder::RGB},
                          {SaturatedRampColour, 60, ByteOrder::BGR},
                          {SaturatedRampColour, 0, ByteOrder::RGB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "strength " << c.strength);
        // Rows longer than the wide passes' stretches, ending in a part group.
        TestFrame in(333, 41, 3, 1, c.order);
        in.Fill(c.colour);
        const TestFrame expected = ReferenceEnhance(in, c.strength);
        const WhiteboardParams params = WithStrength(c.strength);
        ForEveryKernelWidth([&] {
            TestFrame out(333, 41, 3, 1, c.order);
            const WhiteboardImage image = Describe(in, out);
            ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
            EXPECT_EQ(out.MaxDifference(expected), 0);
            EXPECT_TRUE(out.PaddingIntact());
        });
    }
}

TEST(EnhanceWhiteboard, AUniformGreyFrameComesOutWhite) {
    for (int strength : {0, 50, 100}) {
        TestFrame in(64, 48);
        in.Fill([](int, int) { return Rgb{128, 128, 128}; });
        TestFrame out(64, 48);
        const WhiteboardImage image = Describe(in, out);
        const WhiteboardParams params = WithStrength(strength);
        ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const Rgb c = out.ColourAt(x, y);
                ASSERT_EQ(c.red + c.green + c.blue, 3 * 255) << x << "," << y;
            }
        }
    }
}

TEST(EnhanceWhiteboard, StrengthHundredTurnsEveryGreyComponentAboveZeroWhite) {
    TestFrame in(48, 36);
    in.FillGrey([](int x, int y) { return (x * 5 + y * 3) % 256; });
    TestFrame out(48, 36);
    const WhiteboardImage image = Describe(in, out);
    const WhiteboardParams params = WithStrength(100);
    ASSERT_EQ(EnhanceWhiteboard(&image, &params, nullptr), kWhiteboardOk);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int v = out.ColourAt(x, y).green;
            ASSERT_TRUE(v == 0 || v == 255) << v;
        }
    }
}

TEST(EnhanceWhiteboard, BadDescriptorsWriteNothing) {
    TestFrame in(8, 8);
    in.Fill(SheetColour);
    TestFrame out(8, 8);
    const TestFrame untouched(out);
    const WhiteboardParams params = WithStrength(50);
    WhiteboardImage image = Describe(in, out);
    EXPECT_EQ(EnhanceWhiteboard(nullptr, &params, nullptr), kWhiteboardBadArguments);
    EXPECT_EQ(EnhanceWhiteboard(&image, nullptr, nullptr), kWhiteboardBadArguments);
    auto expectRejected = [&](WhiteboardImage bad) {
        EXPECT_EQ(EnhanceWhiteboard(&bad, &params, nullptr), kWhiteboardBadArguments);
    };
    WhiteboardImage bad = image;
    bad.source = nullptr;
    expectRejected(bad);
    bad = image;
    bad.destination = nullptr;
    expectRejected(bad);
    bad = image;
    bad.bytesPerPixel = 4;
    expectRejected(bad);
    bad = image;
    bad.bitsPerChannel = 16;
    expectRejected(bad);
    bad = image;
    bad.width = 0;
    expectRejected(bad);
    bad = image;
    bad.height = 0;
    expectRejected(bad);
    bad = image;
    bad.stride = 20;
    expectRejected(bad);
    EXPECT_TRUE(out.PixelsEqual(untouched));
    EXPECT_TRUE(out.PaddingIntact());
}

std::vector<int>* g_progress = nullptr;

TEST(EnhanceWhiteboard, ReportsRisingProgress) {
    std::vector<int> seen;
    g_progress = &seen;
    TestFrame in(20, 20);
    in.Fill(SheetColour);
    TestFrame out(20, 20);
    const WhiteboardImage image = Describe(in, out);
    const WhiteboardParams params = WithStrength(50);
    ASSERT_EQ(EnhanceWhiteboard(&image, &params, [](int percent) { g_progress->push_back(percent); }),
              kWhiteboardOk);
    g_progress = nullptr;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 20);
    EXPECT_EQ(seen.back(), 90);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

} // namespace
} // namespace qel::imaging
