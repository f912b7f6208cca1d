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

// Permutations that take word 2p of a register into all four words of the low lane and word 2p + 1 into
// those of the high lane (spread[p]): the weights of the two pixels StorePixelPairs takes from pairs[p].
inline void PairSpreads(__m256i spread[4]) {
    for (int p = 0; p < 4; ++p)
        spread[p] = _mm256_setr_epi32(2 * p, 2 * p, 2 * p, 2 * p, 2 * p + 1, 2 * p + 1, 2 * p + 1, 2 * p + 1);
}

// Stores eight pixels held two a register (pixel 2p in the low lane of pairs[p], 2p + 1 in the high one,
// its channels 0..255 in the lane's first three words) as 24 packed bytes.
inline void StorePixelPairs(const __m256i pairs[4], std::uint8_t* pixels) {
    const __m256i bytes =
        _mm256_packus_epi16(_mm256_packs_epi32(pairs[0], pairs[1]), _mm256_packs_epi32(pairs[2], pairs[3]));
    // The packing leaves the pixels in the order 0 2 4 6 1 3 5 7.
    StoreEightPixels(_mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)), pixels);
}

} // namespace qel::imaging::avx2
