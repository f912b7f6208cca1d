// The Snow effect's wide per-frame pass against the plain interpolation, colour by colour.
#include "qelimaging/auto_levels.h"
#include "qelimaging/cpu_features.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/sepia.h"
#include "src/snow_wash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace qel::imaging {
namespace {

Lut BrightnessTable(int brightness) {
    Lut lut = MakeIdentityLut(3);
    const int contrasts[3] = {0, 0, 0};
    const int brightnesses[3] = {brightness, brightness, brightness};
    BuildContrastBrightnessLut(lut, contrasts, brightnesses);
    return lut;
}

std::unique_ptr<CubeCells> CellsOf(const ColourCube& cube) {
    std::unique_ptr<CubeCells> cells(new CubeCells);
    BuildCubeCells(cube, *cells);
    return cells;
}

// Runs one row of pixels and flakes through the wide pass and checks every pixel against screen,
// LookupCube and the table one after the other, and that nothing past the row was written. Returns
// false at the first difference.
::testing::AssertionResult RowMatches(const std::vector<std::uint8_t>& in, const std::vector<std::uint8_t>& flakes,
                                      bool bgr, const ColourCube& cube, const CubeCells& cells,
                                      const Lut& lut, const LiftTable& lift) {
    const int count = static_cast<int>(in.size() / 3);
    std::vector<std::uint8_t> out(in.size() + 32, 0xA5);
    ScreenAndWashRowAvx2(in.data(), flakes.data(), out.data(), count, bgr, cells, lift);
    const int red = bgr ? 2 : 0, blue = bgr ? 0 : 2;
    for (int p = 0; p < count; ++p) {
        int screened[3];
        for (int c = 0; c < 3; ++c) {
            const int s = in[3 * p + c], n = flakes[3 * p + c];
            screened[c] = s + n - s * n / 255;
        }
        const Rgb mapped = LookupCube(cube, Rgb{screened[red], screened[1], screened[blue]});
        const int expected[3] = {lut.table[0][mapped.red], lut.table[1][mapped.green], lut.table[2][mapped.blue]};
        if (out[3 * p + red] != expected[0] || out[3 * p + 1] != expected[1] || out[3 * p + blue] != expected[2]) {
            return ::testing::AssertionFailure() << "pixel " << p << " of colour " << int{in[3 * p]} << ","
                                                 << int{in[3 * p + 1]} << "," << int{in[3 * p + 2]};
        }
    }
    for (std::size_t i = in.size(); i < out.size(); ++i) {
        if (out[i] != 0xA5) {
            return ::testing::AssertionFailure() << "byte " << i - in.size() << " past the row written";
        }
    }
    std::vector<std::uint8_t> inPlace = in;
    ScreenAndWashRowAvx2(inPlace.data(), flakes.data(), inPlace.data(), count, bgr, cells, lift);
    if (!std::equal(inPlace.begin(), inPlace.end(), out.begin())) {
        return ::testing::AssertionFailure() << "in place differs";
    }
    return ::testing::AssertionSuccess();
}

TEST(SnowWash, EveryColourUnderClearAndScatteredFlakesMatchesThePlainPasses) {
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "this processor has no AVX2: only the plain passes run here";
    }
    ColourCube cube;
    BuildHueSaturationCube(cube, 0, -50);
    const Lut lut = BrightnessTable(10);
    const auto cells = CellsOf(cube);
    LiftTable lift;
    ASSERT_TRUE(FitLiftTable(lut, lift));
    // One row per red and green pair's block: 256 blues of 64 greens, plus a tail of five.
    std::vector<std::uint8_t> in(3 * (256 * 64 + 5)), clear(in.size(), 0), scattered(in.size());
    std::uint32_t state = 3;
    for (std::size_t i = 0; i < scattered.size(); i += 3) {
        state = state * 1664525u + 1013904223u;
        const int n = (state >> 24) < 128 ? 0 : static_cast<int>(state >> 16 & 255);
        scattered[i] = scattered[i + 1] = scattered[i + 2] = static_cast<std::uint8_t>(n);
    }
    for (bool bgr : {true, false}) {
        // Every colour in the order the plug-ins use; a share of them in the other.
        for (int red = 0; red < 256; red += bgr ? 1 : 15) {
            for (int greens = 0; greens < 256; greens += 64) {
                for (int p = 0; p < 256 * 64; ++p) {
                    in[3 * p] = static_cast<std::uint8_t>(red);
                    in[3 * p + 1] = static_cast<std::uint8_t>(greens + p / 256);
                    in[3 * p + 2] = static_cast<std::uint8_t>(p);
                }
                ASSERT_TRUE(RowMatches(in, clear, bgr, cube, *cells, lut, lift)) << "red " << red;
                if (red % 15 == 0 && bgr) {
                    ASSERT_TRUE(RowMatches(in, scattered, bgr, cube, *cells, lut, lift)) << "red " << red;
                }
            }
        }
    }
}

TEST(SnowWash, OtherCubesSteepOnesTooAndBrightnessTablesMatchAtEveryRowLength) {
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "this processor has no AVX2: only the plain passes run here";
    }
    std::vector<std::uint8_t> in, clear;
    std::uint32_t state = 11;
    for (int i = 0; i < 3 * 40000 + 3 * 7; ++i) {
        state = state * 1664525u + 1013904223u;
        in.push_back(static_cast<std::uint8_t>(state >> 24));
    }
    // Ties between fractions and the last cell: values on and next to the nodes.
    for (int v = 0; v < 256; ++v) {
        in.insert(in.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), 255, 0,
                             static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v / 17 * 17)});
    }
    clear.assign(in.size(), 0);

    ColourCube identity, saturated, sepia, steep;
    InitCube(identity);
    BuildHueSaturationCube(saturated, 40, 30);
    BuildSepiaCube(sepia, 150);
    // Steps between neighbouring nodes far beyond a signed byte: a spike, and a node that falls to 0.
    InitCube(steep);
    steep.nodes[ColourCube::Index(3, 4, 5)][1] = 255;
    steep.nodes[ColourCube::Index(15, 15, 14)][0] = 0;
    const Lut tables[] = {MakeIdentityLut(3), BrightnessTable(10), BrightnessTable(60), BrightnessTable(100)};
    for (const ColourCube* cube : {&identity, &saturated, &sepia, &steep}) {
        const auto cells = CellsOf(*cube);
        for (const Lut& lut : tables) {
            LiftTable lift;
            ASSERT_TRUE(FitLiftTable(lut, lift));
            EXPECT_TRUE(RowMatches(in, clear, true, *cube, *cells, lut, lift));
        }
        // Rows shorter than a block, and lengths around the blocks' ends, from the same colours; the
        // flakes of the row's last few pixels must come along with them.
        LiftTable lift;
        ASSERT_TRUE(FitLiftTable(tables[1], lift));
        for (int count : {1, 2, 7, 8, 10, 11, 12, 18, 19, 20, 31, 32, 33, 63, 64, 65, 95}) {
            const std::vector<std::uint8_t> row(in.begin(), in.begin() + 3 * count), none(3 * count, 0);
            EXPECT_TRUE(RowMatches(row, none, false, *cube, *cells, tables[1], lift)) << count;
            const std::vector<std::uint8_t> flakes(row.rbegin(), row.rend());
            EXPECT_TRUE(RowMatches(row, flakes, true, *cube, *cells, tables[1], lift)) << count;
        }
    }

    LiftTable lift;
    EXPECT_FALSE(FitLiftTable(BrightnessTable(-20), lift)) << "darkening is no saturating add";
    Lut contrast = MakeIdentityLut(3);
    const int contrasts[3] = {40, 40, 40};
    const int brightnesses[3] = {0, 0, 0};
    BuildContrastBrightnessLut(contrast, contrasts, brightnesses);
    EXPECT_FALSE(FitLiftTable(contrast, lift));
    Lut unequal = BrightnessTable(10);
    unequal.table[2][0] = 0;
    EXPECT_FALSE(FitLiftTable(unequal, lift)) << "the wide path lifts every channel alike";
}

} // namespace
} // namespace qel::imaging
