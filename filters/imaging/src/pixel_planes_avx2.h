#pragma once
// 32 packed three-byte pixels split into three planes of their components and joined again, with AVX2
// byte shuffles (include only from files compiled for AVX2).
#include <immintrin.h>

#include <cstdint>

namespace qel::imaging::avx2 {

// Byte shuffles that take 48 packed bytes (three registers' lanes) to three planes of 16 and back,
// built once at compile time, each twice over for the two halves of a register.
struct PlaneShuffles {
    std::uint8_t split[3][3][32]; // [plane][source register]: plane bytes found in that register
    std::uint8_t join[3][3][32];  // [packed register][plane]: packed bytes found in that plane

    constexpr PlaneShuffles() : split{}, join{} {
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < 3; ++j) {
                for (int i = 0; i < 32; ++i) {
                    const int at = 3 * (i % 16) + c;
                    split[c][j][i] = static_cast<std::uint8_t>(at / 16 == j ? at % 16 : 0x80);
                    const int packed = 16 * j + i % 16;
                    join[j][c][i] = static_cast<std::uint8_t>(packed % 3 == c ? packed / 3 : 0x80);
                }
            }
        }
    }
};

inline constexpr PlaneShuffles kPlaneShuffles{};

inline __m256i Shuffle(__m256i bytes, const std::uint8_t shuffle[32]) {
    return _mm256_shuffle_epi8(bytes, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(shuffle)));
}

// 96 bytes (32 packed pixels) at `pixels` as three registers: bytes 0..47 in the low lanes, 48..95 in the
// high ones, so that each half holds 16 whole pixels.
inline void LoadPacked(const std::uint8_t* pixels, __m256i packed[3]) {
#pragma GCC unroll 3
    for (int j = 0; j < 3; ++j) {
        packed[j] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(pixels + 48 + 16 * j),
                                        reinterpret_cast<const __m128i*>(pixels + 16 * j));
    }
}

// Loaded pixels into plane[c] (byte i: component c of pixel i), in pixel order.
inline void SplitPacked(const __m256i packed[3], __m256i plane[3]) {
#pragma GCC unroll 3
    for (int c = 0; c < 3; ++c) {
        plane[c] = _mm256_or_si256(_mm256_or_si256(Shuffle(packed[0], kPlaneShuffles.split[c][0]),
                                                   Shuffle(packed[1], kPlaneShuffles.split[c][1])),
                                   Shuffle(packed[2], kPlaneShuffles.split[c][2]));
    }
}

// 96 bytes at `pixels` into three planes.
inline void Split(const std::uint8_t* pixels, __m256i plane[3]) {
    __m256i packed[3];
    LoadPacked(pixels, packed);
    SplitPacked(packed, plane);
}

// The three planes back into 96 packed bytes at `pixels`.
inline void Join(const __m256i plane[3], std::uint8_t* pixels) {
#pragma GCC unroll 3
    for (int j = 0; j < 3; ++j) {
        const __m256i packed = _mm256_or_si256(_mm256_or_si256(Shuffle(plane[0], kPlaneShuffles.join[j][0]),
                                                               Shuffle(plane[1], kPlaneShuffles.join[j][1])),
                                               Shuffle(plane[2], kPlaneShuffles.join[j][2]));
        _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(pixels + 48 + 16 * j),
                             reinterpret_cast<__m128i*>(pixels + 16 * j), packed);
    }
}

} // namespace qel::imaging::avx2
