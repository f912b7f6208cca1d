#pragma once
// The colour cube applied 32 pixels at a time with AVX2 from its cells (callers check CpuHasAvx2 first):
// one load a pixel fetches the four nodes of its walk, and the walk's four weights multiply
// all three channels of them at once. Gives exactly what the plain interpolation gives.
#include "byte_slices.h"
#include "qelimaging/cube_cells.h"

namespace qel::imaging {

// Maps `count` three-byte pixels from in to out (the same buffer or apart), reading and writing nothing
// beyond them. With `before` (one table a pixel byte, in byte order) each byte goes through its table
// first.
void ApplyCubeCellsRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr,
                           const CubeCells& cells, const ByteSlices* before = nullptr);

} // namespace qel::imaging
