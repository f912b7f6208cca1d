#pragma once
// The bilinear sampling of RemapFrame eight output pixels at a time with AVX2 (callers check
// CpuHasAvx2 first); the same sums, so the same bytes.
#include <cstddef>
#include <cstdint>

#include "core/source_map.h"

// Samples the first output pixels of one line of `count` entries into out and returns how many it did,
// a multiple of eight. Each sample reads four bytes at every corner it uses, so from the first group
// whose reads would reach past frameBytes on, and the last count % 8 pixels, the caller samples.
int RemapLineAvx2(const uint8_t* src, size_t frameBytes, ptrdiff_t nextLine, const CSourceMap::Entry* entries,
                  int count, uint8_t* out);
