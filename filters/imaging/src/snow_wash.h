#pragma once
// The Snow effect's per-frame pass (flakes screened on, then the wash-out cube and the brightness table)
// in one wide pass where the processor has AVX2. Gives exactly what the plain passes give.
#include "qelimaging/colour_cube.h"

#include <vector>

namespace qel::imaging {

// The cube unfolded per cell and axis order: within one tetrahedron the interpolation is linear, so a
// pixel's result is base + (fr Dr + fg Dg + fb Db) / 17 from one 16-byte entry, where the four node
// lookups of the plain path would need gathers. Entry (cell x 8 + order key) holds, for output red,
// green and blue, a 32-bit word of the signed steps Dr, Dg, Db (bytes 0..2) and the base node (byte 3).
// The order key is the plain path's: bit 0 red >= green, bit 1 green >= blue, bit 2 red >= blue (by
// fraction).
struct UnfoldedCube {
    static constexpr int kOrders = 8;
    std::vector<std::uint32_t> words; // 4 words an entry, the fourth 0
};

// Unfolds the cube; false (leaving `unfolded` empty) when a step does not fit a signed byte, which only
// steep cubes have.
bool UnfoldCube(const ColourCube& cube, UnfoldedCube& unfolded);

// A table of the form min(v + add + (v <= bonusTop ? 1 : 0), 255), which a brightness table with its
// rounding is: computed in a few instructions where a lookup of 32 bytes would need a gather.
struct LiftTable {
    int add = 0;
    int bonusTop = -1; // -1: no value gets the bonus
};

// Fits a one-table LUT (or a three-table one with equal tables) to that form; false when it has another.
bool FitLiftTable(const Lut& lut, LiftTable& lift);

// Screens the flakes (one value a byte) onto `count` three-byte pixels of a row and maps them through
// the unfolded cube and the lift. Reads and writes nothing beyond the row; in and out may be one buffer.
// Only where CpuHasAvx2.
void ScreenAndWashRowAvx2(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count,
                          bool bgr, const UnfoldedCube& cube, const LiftTable& lift);

} // namespace qel::imaging
