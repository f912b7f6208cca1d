#pragma once
// Whole 256-entry byte tables looked up 32 bytes at a time with AVX2 byte shuffles (include only from
// files compiled for AVX2).
#include "byte_slices.h"

#include <immintrin.h>

#include <cstdint>

namespace qel::imaging::avx2 {

inline __m256i Slice(const std::uint8_t slice[32]) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(slice));
}

// Every byte of `index` through the table: one shuffle a slice, the low and high halves of the table
// combined by the top bit of the index. The slices are read from memory, which costs less than holding
// sixteen registers.
inline __m256i Lookup(const ByteSlices& t, __m256i index) {
    const __m256i step = _mm256_set1_epi8(16);
    __m256i at = index;
    __m256i low = _mm256_shuffle_epi8(Slice(t.low[0]), at);
    at = _mm256_sub_epi8(at, step);
    __m256i high = _mm256_shuffle_epi8(Slice(t.high[0]), at);
#pragma GCC unroll 8
    for (int k = 1; k < 8; ++k) {
        low = _mm256_xor_si256(low, _mm256_shuffle_epi8(Slice(t.low[k]), at));
        at = _mm256_sub_epi8(at, step);
        high = _mm256_xor_si256(high, _mm256_shuffle_epi8(Slice(t.high[k]), at));
    }
    return _mm256_blendv_epi8(low, high, index);
}

} // namespace qel::imaging::avx2
