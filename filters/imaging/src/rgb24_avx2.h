#pragma once
// Moving eight three-byte pixels in and out of AVX2 registers, shared by the wide kernels (include only
// from files compiled for AVX2). A pixel's bytes become one 32-bit lane, byte 0 lowest.
#include <immintrin.h>

#include <cstdint>

namespace qel::imaging::avx2 {

// Loads 32 bytes at `pixels` (eight pixels and eight bytes more, which must be readable) with pixels 0-3
// in the low 128 bits and 4-7 in the high ones, each at the start of its half.
inline __m256i LoadEightPixels(const std::uint8_t* pixels) {
    return _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels)),
                                       _mm256_setr_epi32(0, 1, 2, 0, 3, 4, 5, 0));
}

// Shuffle that takes byte c of each pixel of a loaded group into the low byte of the pixel's lane.
inline __m256i TakeByte(int c) {
    const char b = static_cast<char>(c);
    return _mm256_setr_epi8(b, -1, -1, -1, static_cast<char>(b + 3), -1, -1, -1, static_cast<char>(b + 6), -1, -1,
                            -1, static_cast<char>(b + 9), -1, -1, -1, b, -1, -1, -1, static_cast<char>(b + 3), -1, -1,
                            -1, static_cast<char>(b + 6), -1, -1, -1, static_cast<char>(b + 9), -1, -1, -1);
}

// Stores the low three bytes of every lane as eight packed pixels (24 bytes, nothing beyond), lane
// byte `first` first and `last` last (0 and 2 keep the order, 2 and 0 swap red and blue).
inline void StoreEightPixels(__m256i words, std::uint8_t* pixels, int first = 0, int last = 2) {
    const char f = static_cast<char>(first), l = static_cast<char>(last);
    const __m256i pack = _mm256_setr_epi8(
        f, 1, l, static_cast<char>(4 + f), 5, static_cast<char>(4 + l), static_cast<char>(8 + f), 9,
        static_cast<char>(8 + l), static_cast<char>(12 + f), 13, static_cast<char>(12 + l), -1, -1, -1, -1, f, 1, l,
        static_cast<char>(4 + f), 5, static_cast<char>(4 + l), static_cast<char>(8 + f), 9, static_cast<char>(8 + l),
        static_cast<char>(12 + f), 13, static_cast<char>(12 + l), -1, -1, -1, -1);
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, pack),
                                                       _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + 16), _mm256_extracti128_si256(packed, 1));
}

} // namespace qel::imaging::avx2
