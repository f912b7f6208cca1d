// The two passes of the zoom scaler over one output row of three-byte pixels with AVX2 (callers
// check CpuHasAvx2 first); the same sums and the same truncating division, so the same bytes.
#pragma once

#include <cstdint>

// mixed[i] = nearWeight x nearRow[i] + farWeight x farRow[i] for the first bytes of the row; returns
// how many it did, a multiple of sixteen (the caller mixes the rest).
int MixZoomRowsAvx2(const uint8_t* nearRow, const uint8_t* farRow, unsigned nearWeight, unsigned farWeight,
                    int count, uint16_t* mixed);

// Output pixels (nearWeight x mixed[near] + farWeight x mixed[far]) / divisor per channel for the first
// columns of the row; weights[c] holds column c's near weight in its low and far weight in its high
// half, near and far its word offsets into mixed. Reads four words at every offset (the row of mixed
// must have one word after its last pixel). Returns how many columns it did, a multiple of eight.
int ScaleZoomRowAvx2(const uint16_t* mixed, const int32_t* near, const int32_t* far, const uint32_t* weights,
                     int width, int divisor, uint8_t* out);
