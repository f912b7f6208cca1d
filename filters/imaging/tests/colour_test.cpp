// The colour cube, hue/saturation and sepia.
#include "qelimaging/colour_cube.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/sepia.h"
#include "src/cube_cells_avx2.h"
#include "qelimaging/cpu_features.h"
#include "qelimaging/cube_cells.h"
#include "test_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace qel::imaging {
namespace {

using testing::FrameShape;
using testing::KernelShapes;
using testing::PatternColour;
using testing::TestFrame;

// Tetrahedral interpolation written straight from its definition, for comparison.
Rgb ReferenceLookup(const ColourCube& cube, Rgb colour) {
    const int values[3] = {colour.red, colour.green, colour.blue};
    int cell[3], fraction[3];
    for (int a = 0; a < 3; ++a) {
        cell[a] = values[a] / 17;
        fraction[a] = values[a] - 17 * cell[a];
    }
    int order[3] = {0, 1, 2};
    std::stable_sort(order, order + 3, [&](int a, int b) { return fraction[a] > fraction[b]; });
    auto node = [&](const int at[3]) { return cube.nodes[ColourCube::Index(at[2], at[1], at[0])]; };
    int at[3] = {cell[0], cell[1], cell[2]};
    int sums[3] = {0, 0, 0};
    const std::uint8_t* previous = node(at);
    const std::uint8_t* base = previous;
    for (int step = 0; step < 3; ++step) {
        const int axis = order[step];
        if (at[axis] < 15) {
            ++at[axis];
        }
        const std::uint8_t* next = node(at);
        for (int c = 0; c < 3; ++c) {
            sums[c] += fraction[axis] * (next[c] - previous[c]);
        }
        previous = next;
    }
    int out[3];
    for (int c = 0; c < 3; ++c) {
        out[c] = std::clamp(base[c] + ((sums[c] - (sums[c] >> 4)) >> 4), 0, 255);
    }
    return Rgb{out[0], out[1], out[2]};
}

ColourCube ScrambledCube() {
    ColourCube cube;
    for (int n = 0; n < ColourCube::kNodes; ++n) {
        cube.nodes[n][0] = static_cast<std::uint8_t>((n * 37) & 255);
        cube.nodes[n][1] = static_cast<std::uint8_t>((n * 11 + 90) & 255);
        cube.nodes[n][2] = static_cast<std::uint8_t>(255 - (n & 255));
    }
    return cube;
}

TEST(ColourCube, IdentityKeepsEveryValueButThoseSixteenAboveAMultipleOfSeventeen) {
    ColourCube cube;
    InitCube(cube);
    for (int v = 0; v < 256; ++v) {
        const Rgb out = LookupCube(cube, Rgb{v, v / 2, 255 - v});
        EXPECT_EQ(out.red, v % 17 == 16 ? v - 1 : v) << v;
    }
}

TEST(ColourCube, ApplyMatchesTheReferenceAtEveryShape) {
    const ColourCube cube = ScrambledCube();
    for (const FrameShape& shape : KernelShapes()) {
        for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
            SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
            TestFrame in(shape.width, shape.height, 3, shape.extraPadding, order);
            in.Fill([](int x, int y) { return PatternColour(x, y, 3); });
            TestFrame out(shape.width, shape.height, 3, shape.extraPadding, order);
            ASSERT_TRUE(ApplyCube(in.Data(), out.Data(), in.Layout(), nullptr, cube));
            for (int y = 0; y < RowCount(in.Layout()); ++y) {
                for (int x = 0; x < shape.width; ++x) {
                    const Rgb expected = ReferenceLookup(cube, in.ColourAt(x, y));
                    const Rgb got = out.ColourAt(x, y);
                    ASSERT_EQ(got.red, expected.red);
                    ASSERT_EQ(got.green, expected.green);
                    ASSERT_EQ(got.blue, expected.blue);
                }
            }
            EXPECT_TRUE(out.PaddingIntact());
            ASSERT_TRUE(ApplyCube(in.Data(), in.Data(), in.Layout(), nullptr, cube));
            EXPECT_TRUE(in.PixelsEqual(out)) << "in place gives the same";
        }
    }
}

// Colours where fractions tie (two or three equal channels) and the rest pseudo-random, eight-pixel
// groups of them ending with a short tail.
std::vector<std::uint8_t> MixedColourRow(int& count) {
    std::vector<std::uint8_t> row;
    for (int v = 0; v < 256; ++v) {
        for (int w = 0; w < 256; w += 3) {
            const std::uint8_t a = static_cast<std::uint8_t>(v), b = static_cast<std::uint8_t>(w);
            row.insert(row.end(), {a, b, a, a, a, b, b, a, a});
        }
    }
    std::uint32_t state = 7;
    for (int i = 0; i < 3 * 20000 + 5; ++i) {
        state = state * 1664525u + 1013904223u;
        row.push_back(static_cast<std::uint8_t>(state >> 24));
    }
    count = static_cast<int>(row.size() / 3);
    return row;
}

std::unique_ptr<CubeCells> CellsOf(const ColourCube& cube) {
    std::unique_ptr<CubeCells> cells(new CubeCells);
    BuildCubeCells(cube, *cells);
    return cells;
}

// Tables that move every value somewhere else, both halves and every sixteen-value row of them.
Lut ScrambledLut(int channels) {
    Lut lut = MakeIdentityLut(channels);
    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) {
            lut.table[c][v] = static_cast<std::uint8_t>((v * (2 * c + 5) + 41 * c + 7) & 255);
        }
    }
    return lut;
}

// Expected output of the cells' row kernel: each byte through its table (none: unchanged), then the
// reference interpolation.
void ExpectRowMatchesReference(const ColourCube& cube, const std::vector<std::uint8_t>& in,
                               const std::vector<std::uint8_t>& out, int count, bool bgr, const Lut* before) {
    const int red = bgr ? 2 : 0, blue = bgr ? 0 : 2;
    for (int p = 0; p < count; ++p) {
        std::uint8_t value[3];
        for (int b = 0; b < 3; ++b) {
            value[b] = before ? before->table[b][in[3 * p + b]] : in[3 * p + b];
        }
        const Rgb expected = ReferenceLookup(cube, Rgb{value[red], value[1], value[blue]});
        ASSERT_EQ(out[3 * p + red], expected.red) << p;
        ASSERT_EQ(out[3 * p + 1], expected.green) << p;
        ASSERT_EQ(out[3 * p + blue], expected.blue) << p;
    }
}

TEST(CubeCells, WidePathMatchesTheReferenceForTiesAnyColourAndEveryRowLength) {
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "this processor has no AVX2: only the plain path runs here";
    }
    const ColourCube cube = ScrambledCube();
    const auto cells = CellsOf(cube);
    int count = 0;
    const std::vector<std::uint8_t> in = MixedColourRow(count);
    // Rows of whole 32-pixel blocks, a short tail after them, and rows shorter than one block.
    for (int length : {count, 1, 5, 31, 32, 33, 64, 95}) {
        for (bool bgr : {true, false}) {
            SCOPED_TRACE(::testing::Message() << length << (bgr ? " BGR" : " RGB"));
            std::vector<std::uint8_t> out(3 * static_cast<std::size_t>(length) + 32, 0xA5);
            ApplyCubeCellsRowAvx2(in.data(), out.data(), length, bgr, *cells);
            ExpectRowMatchesReference(cube, in, out, length, bgr, nullptr);
            for (std::size_t i = 3 * static_cast<std::size_t>(length); i < out.size(); ++i) {
                ASSERT_EQ(out[i], 0xA5) << "nothing past the row is written";
            }
            std::vector<std::uint8_t> inPlace(in.begin(), in.begin() + 3 * length);
            ApplyCubeCellsRowAvx2(inPlace.data(), inPlace.data(), length, bgr, *cells);
            EXPECT_TRUE(std::equal(inPlace.begin(), inPlace.end(), out.begin())) << "in place gives the same";
        }
    }
}

TEST(CubeCells, WidePathTakesEveryByteThroughItsOwnTableFirst) {
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "this processor has no AVX2: only the plain path runs here";
    }
    const ColourCube cube = ScrambledCube();
    const auto cells = CellsOf(cube);
    const Lut before = ScrambledLut(3);
    ByteSlices slices[3];
    for (int b = 0; b < 3; ++b) {
        BuildByteSlices(before.table[b], slices[b]);
    }
    // Every value in every byte of a pixel, then colours of every kind.
    int mixed = 0;
    const std::vector<std::uint8_t> colours = MixedColourRow(mixed);
    std::vector<std::uint8_t> in;
    for (int v = 0; v < 256; ++v) {
        in.insert(in.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                             static_cast<std::uint8_t>(v * 7)});
    }
    in.insert(in.end(), colours.begin(), colours.begin() + 3 * 3001);
    const int count = static_cast<int>(in.size() / 3);
    for (bool bgr : {true, false}) {
        std::vector<std::uint8_t> out(in.size(), 0);
        ApplyCubeCellsRowAvx2(in.data(), out.data(), count, bgr, *cells, slices);
        ExpectRowMatchesReference(cube, in, out, count, bgr, &before);
    }
}

TEST(CubeCells, LutAndCubeInOnePassEqualsTheTwoPassesAtEveryShape) {
    const ColourCube cube = ScrambledCube();
    const auto cells = CellsOf(cube);
    // Without cells the plain path runs, with them the wide one where the processor has AVX2.
    const CubeCells* const choices[] = {nullptr, cells.get()};
    for (const CubeCells* withCells : choices) {
        for (const Lut& lut : {ScrambledLut(1), ScrambledLut(3)}) {
            for (const FrameShape& shape : KernelShapes()) {
                for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
                    SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height << " LUT of "
                                                      << lut.channels << (withCells ? " with cells" : ""));
                    TestFrame in(shape.width, shape.height, 3, shape.extraPadding, order);
                    in.Fill([](int x, int y) { return PatternColour(x, y, 5); });
                    TestFrame once(in), twice(in);
                    ASSERT_TRUE(
                        ApplyLutAndCube(in.Data(), once.Data(), in.Layout(), nullptr, lut, cube, withCells));
                    ASSERT_TRUE(ApplyLut(in.Data(), twice.Data(), in.Layout(), nullptr, lut));
                    ASSERT_TRUE(ApplyCube(twice.Data(), twice.Data(), in.Layout(), nullptr, cube));
                    EXPECT_EQ(once.MaxDifference(twice), 0);
                    EXPECT_TRUE(once.PaddingIntact());
                    ASSERT_TRUE(
                        ApplyLutAndCube(in.Data(), in.Data(), in.Layout(), nullptr, lut, cube, withCells));
                    EXPECT_TRUE(in.PixelsEqual(twice)) << "in place gives the same";
                }
            }
        }
    }
}

TEST(CubeCells, PreparedCellsGiveTheReferenceAndKeepToTheRegion) {
    const ColourCube cube = ScrambledCube();
    const auto cells = CellsOf(cube);
    for (const FrameShape& shape : KernelShapes()) {
        SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
        TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
        in.Fill([](int x, int y) { return PatternColour(x, y, 6); });
        TestFrame out(shape.width, shape.height, 3, shape.extraPadding);
        ASSERT_TRUE(ApplyCube(in.Data(), out.Data(), in.Layout(), nullptr, cube, *cells));
        for (int y = 0; y < RowCount(in.Layout()); ++y) {
            for (int x = 0; x < shape.width; ++x) {
                const Rgb expected = ReferenceLookup(cube, in.ColourAt(x, y));
                ASSERT_EQ(out.ColourAt(x, y).red, expected.red);
                ASSERT_EQ(out.ColourAt(x, y).green, expected.green);
                ASSERT_EQ(out.ColourAt(x, y).blue, expected.blue);
            }
        }
        EXPECT_TRUE(out.PaddingIntact());
    }
    TestFrame in(40, 6);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    TestFrame out(in);
    const Region region{37, 5, 2, 1};
    ASSERT_TRUE(ApplyCube(in.Data(), out.Data(), in.Layout(), &region, cube, *cells));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 2 && x < 37 && y >= 1 && y < 5;
            const Rgb expected = inside ? ReferenceLookup(cube, in.ColourAt(x, y)) : in.ColourAt(x, y);
            ASSERT_EQ(out.ColourAt(x, y).blue, expected.blue) << x << "," << y;
        }
    }
    TestFrame grey(4, 4, 1);
    EXPECT_FALSE(ApplyCube(grey.Data(), grey.Data(), grey.Layout(), nullptr, cube, *cells));
    EXPECT_FALSE(ApplyLutAndCube(in.Data(), nullptr, in.Layout(), nullptr, MakeIdentityLut(3), cube));
}

TEST(ColourCube, CubeAndLutInOnePassEqualsTheTwoPasses) {
    const ColourCube cube = ScrambledCube();
    Lut lut = MakeIdentityLut(3);
    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) {
            lut.table[c][v] = static_cast<std::uint8_t>((v * (c + 3) + 17 * c) & 255);
        }
    }
    for (const FrameShape& shape : KernelShapes()) {
        for (ByteOrder order : {ByteOrder::BGR, ByteOrder::RGB}) {
            SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
            TestFrame in(shape.width, shape.height, 3, shape.extraPadding, order);
            in.Fill([](int x, int y) { return PatternColour(x, y, 4); });
            TestFrame once(in), twice(in);
            ASSERT_TRUE(ApplyCubeAndLut(in.Data(), once.Data(), in.Layout(), nullptr, cube, lut));
            ASSERT_TRUE(ApplyCube(in.Data(), twice.Data(), in.Layout(), nullptr, cube));
            ASSERT_TRUE(ApplyLut(twice.Data(), twice.Data(), in.Layout(), nullptr, lut));
            EXPECT_EQ(once.MaxDifference(twice), 0);
            EXPECT_TRUE(once.PaddingIntact());
        }
    }
}

TEST(ColourCube, RegionAndBadArguments) {
    TestFrame in(10, 6);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    TestFrame out(in);
    const ColourCube cube = ScrambledCube();
    const Region region{8, 5, 2, 1}; // corners in any order
    ASSERT_TRUE(ApplyCube(in.Data(), out.Data(), in.Layout(), &region, cube));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 1 && y < 5;
            const Rgb expected = inside ? ReferenceLookup(cube, in.ColourAt(x, y)) : in.ColourAt(x, y);
            EXPECT_EQ(out.ColourAt(x, y).green, expected.green) << x << "," << y;
        }
    }
    TestFrame grey(4, 4, 1);
    EXPECT_FALSE(ApplyCube(grey.Data(), grey.Data(), grey.Layout(), nullptr, cube));
    EXPECT_FALSE(ApplyCube(in.Data(), nullptr, in.Layout(), nullptr, cube));
}

TEST(ColourCube, ComposingALutOrASecondCube) {
    ColourCube cube;
    InitCube(cube);
    Lut invert = MakeIdentityLut(3);
    for (int i = 0; i < 256; ++i) {
        invert.table[0][i] = static_cast<std::uint8_t>(255 - i);
        invert.table[2][i] = static_cast<std::uint8_t>(i / 2);
    }
    ComposeLutIntoCube(cube, invert);
    const std::uint8_t* node = cube.nodes[ColourCube::Index(2, 3, 4)];
    EXPECT_EQ(node[0], 255 - 68);
    EXPECT_EQ(node[1], 51);
    EXPECT_EQ(node[2], 17);

    ColourCube identity;
    InitCube(identity);
    ColourCube scrambled = ScrambledCube();
    const ColourCube before = scrambled;
    ComposeCubes(scrambled, identity);
    for (int n = 0; n < ColourCube::kNodes; ++n) {
        for (int c = 0; c < 3; ++c) {
            const int v = before.nodes[n][c];
            ASSERT_EQ(scrambled.nodes[n][c], v % 17 == 16 ? v - 1 : v);
        }
    }
}

TEST(HueSaturation, FullDesaturationGivesTheGreyOfTheLightness) {
    for (const Rgb colour : {Rgb{255, 0, 0}, Rgb{10, 200, 90}, Rgb{250, 251, 30}, Rgb{3, 4, 5}}) {
        const Rgb grey = AdjustHueSaturation(colour, 0, -100);
        const int lightness = (std::max({colour.red, colour.green, colour.blue}) +
                               std::min({colour.red, colour.green, colour.blue}) + 1) /
                              2;
        EXPECT_EQ(grey.red, lightness);
        EXPECT_EQ(grey.green, lightness);
        EXPECT_EQ(grey.blue, lightness);
    }
}

TEST(HueSaturation, HueTurnsAroundTheCircleAndNeutralKeepsTheColour) {
    const Rgb green = AdjustHueSaturation(Rgb{255, 0, 0}, 120, 0);
    EXPECT_EQ(green.red, 0);
    EXPECT_EQ(green.green, 255);
    EXPECT_EQ(green.blue, 0);
    const Rgb blue = AdjustHueSaturation(Rgb{255, 0, 0}, -120, 0);
    EXPECT_EQ(blue.blue, 255);
    const Rgb fullTurn = AdjustHueSaturation(Rgb{255, 0, 0}, 720, 0);
    EXPECT_EQ(fullTurn.red, 255);
    const Rgb same = AdjustHueSaturation(Rgb{200, 100, 50}, 0, 0);
    EXPECT_NEAR(same.red, 200, 2);
    EXPECT_NEAR(same.green, 100, 2);
    EXPECT_NEAR(same.blue, 50, 2);
    const Rgb grey = AdjustHueSaturation(Rgb{90, 90, 90}, 45, 100);
    EXPECT_EQ(grey.red, 90);
    EXPECT_EQ(grey.blue, 90);
}

TEST(HueSaturation, TheCubePathFollowsThePerPixelPath) {
    TestFrame in(33, 19, 3, 2);
    in.Fill([](int x, int y) { return PatternColour(x, y, 9); });
    TestFrame perPixel(in);
    TestFrame cubed(in);
    ASSERT_TRUE(AdjustHueSaturation(in.Data(), perPixel.Data(), in.Layout(), nullptr, 30, -40, false));
    ASSERT_TRUE(AdjustHueSaturation(in.Data(), cubed.Data(), in.Layout(), nullptr, 30, -40, true));
    EXPECT_LE(perPixel.MaxDifference(cubed), 24) << "the cube interpolates between nodes";
    const Rgb expected = AdjustHueSaturation(in.ColourAt(4, 7), 30, -40);
    EXPECT_EQ(perPixel.ColourAt(4, 7).green, expected.green);
    EXPECT_TRUE(perPixel.PaddingIntact());
    EXPECT_TRUE(cubed.PaddingIntact());
}

TEST(Sepia, TheToneCurvesPassThroughTheirRowsAndNeverFall) {
    const int rows[9][4] = {{0, 50, 54, 38},      {32, 87, 77, 40},     {64, 120, 101, 57},
                            {96, 149, 126, 75},   {128, 172, 150, 95},  {160, 189, 172, 115},
                            {192, 203, 193, 137}, {224, 215, 210, 159}, {255, 226, 226, 176}};
    const Lut& tone = SepiaToneTable();
    for (const auto& row : rows) {
        EXPECT_EQ(tone.table[0][row[0]], row[1]) << row[0];
        EXPECT_EQ(tone.table[1][row[0]], row[2]) << row[0];
        EXPECT_EQ(tone.table[2][row[0]], row[3]) << row[0];
    }
    for (int c = 0; c < 3; ++c) {
        for (int i = 1; i < 256; ++i) {
            EXPECT_GE(tone.table[c][i], tone.table[c][i - 1]);
        }
    }
}

TEST(Sepia, BlendsAndCubes) {
    const Lut none = SepiaToneBlend(0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(none.table[1][i], i * 127 / 128);
    }
    const Lut full = SepiaToneBlend(100);
    EXPECT_EQ(full.table[0][128], 172);

    // Amount 100: saturation -75 % then the full tone: a grey node is the tone of its value.
    ColourCube cube;
    BuildSepiaCube(cube, 100);
    const std::uint8_t* grey = cube.nodes[ColourCube::Index(8, 8, 8)];
    EXPECT_EQ(grey[0], full.table[0][136]);
    EXPECT_EQ(grey[2], full.table[2][136]);
    // A saturated red keeps only a quarter of its saturation, then takes the tone.
    const std::uint8_t* red = cube.nodes[ColourCube::Index(0, 0, 15)];
    EXPECT_GT(red[0], red[2]);
    EXPECT_LT(red[0] - red[2], 200);
    // Amounts above 100 run a second pass; above 200 is the same as 200.
    ColourCube strong, strongest;
    BuildSepiaCube(strong, 200);
    BuildSepiaCube(strongest, 900);
    EXPECT_EQ(
        std::equal(&strong.nodes[0][0], &strong.nodes[0][0] + sizeof strong.nodes, &strongest.nodes[0][0]),
        true);
    EXPECT_NE(strong.nodes[ColourCube::Index(8, 8, 8)][0], grey[0]);
}

} // namespace
} // namespace qel::imaging
