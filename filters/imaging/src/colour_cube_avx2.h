#pragma once
// The colour cube applied eight pixels at a time with AVX2 (callers check CpuHasAvx2 first). Gives
// exactly what the plain interpolation gives.
#include "qelimaging/colour_cube.h"

namespace qel::imaging {

// The cube's nodes as one 32-bit word each: red | green << 8 | blue << 16.
struct PackedCube {
    std::uint32_t nodes[ColourCube::kNodes];
};
void PackCube(const ColourCube& cube, PackedCube& packed);

// Maps the first pixels of `count` three-byte pixels from in to out (the same buffer or apart) and
// returns how many it did: a multiple of eight, leaving at least the last few pixels to the caller,
// since each group reads eight bytes beyond its own 24. With `after` (three tables of 256, red, green,
// blue) each output channel then goes through its table.
int ApplyCubeRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr, const PackedCube& cube,
                     const std::int32_t* after = nullptr);

} // namespace qel::imaging
