#pragma once
// The Snow effect's per-frame pass (flakes screened on, then the wash-out cube and the brightness table)
// in one wide pass where the processor has AVX2. Gives exactly what the plain passes give.
#include "qelimaging/cube_cells.h"

namespace qel::imaging {

// A table of the form min(v + add + (v <= bonusTop ? 1 : 0), 255), which a brightness table with its
// rounding is: computed in a few instructions, where a table lookup of 32 bytes takes sixteen shuffles.
struct LiftTable {
    int add = 0;
    int bonusTop = -1; // -1: no value gets the bonus
};

// Fits a one-table LUT (or a three-table one with equal tables) to that form; false when it has another.
bool FitLiftTable(const Lut& lut, LiftTable& lift);

// Screens the flakes (one value a byte) onto `count` three-byte pixels of a row and maps them through
// the cube's cells and the lift. Reads and writes nothing beyond the row; in and out may be one buffer.
// Only where CpuHasAvx2.
void ScreenAndWashRowAvx2(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count,
                          bool bgr, const CubeCells& cells, const LiftTable& lift);

} // namespace qel::imaging
