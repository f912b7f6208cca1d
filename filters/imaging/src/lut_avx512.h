#pragma once
// Table lookups over packed bytes 64 at a time with AVX-512 (callers check CpuHasAvx512Vbmi first): the
// same tables, so the same bytes as the plain loop.
#include <cstdint>

namespace qel::imaging::lut {

// Maps bytes of a row through `tables[k]` for the bytes at k, k + 3, k + 6... (three-byte pixels; give one
// table three times for one-byte pixels) and returns how many it did: a multiple of 192, reading and
// writing nothing beyond `count`. `out` may be `in`.
int ApplyByteTablesAvx512(const std::uint8_t* in, std::uint8_t* out, int count, const std::uint8_t* const tables[3]);

} // namespace qel::imaging::lut
