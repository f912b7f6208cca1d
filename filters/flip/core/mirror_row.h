#pragma once
// Mirroring one row of three-byte pixels five at a time with a byte shuffle (callers check
// qel::imaging::CpuHasAvx2 first).
#include <cstdint>

// Writes out[x] = in[width - 1 - x] for the first pixels of the row and returns how many it wrote (at
// most width - 1, never the last: each store of five pixels writes one byte into the next pixel). Reads
// nothing outside the row's pixels; in and out must not overlap.
int MirrorRowAvx2(const std::uint8_t* in, std::uint8_t* out, int width);
