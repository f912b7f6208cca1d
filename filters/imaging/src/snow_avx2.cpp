// Compiled with AVX2 enabled; only called where the processor has it.
#include "snow_wash.h"

#include "cube_walk_avx2.h"

namespace qel::imaging {

namespace {

// s + n - trunc(s n / 255) for sixteen bytes held in 16-bit lanes: (x x 0x8081) >> 23 is exact for
// every product x of two bytes.
inline __m256i ScreenHalf(__m256i s, __m256i n) {
    const __m256i quotient = _mm256_srli_epi16(
        _mm256_mulhi_epu16(_mm256_mullo_epi16(s, n), _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
    return _mm256_sub_epi16(_mm256_add_epi16(s, n), quotient);
}

inline __m256i Screen(__m256i s, __m256i n) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = ScreenHalf(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(n, zero));
    const __m256i high = ScreenHalf(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(n, zero));
    return _mm256_packus_epi16(low, high);
}

// The flakes screened on before the cube (byte by byte, so on the bytes as loaded), the lift after it.
struct ScreenAndLift {
    __m256i add;
    __m256i bonusTop;
    __m256i bonusOn;

    explicit ScreenAndLift(const LiftTable& lift)
        : add(_mm256_set1_epi8(static_cast<char>(lift.add))),
          bonusTop(_mm256_set1_epi8(static_cast<char>(lift.bonusTop < 0 ? 0 : lift.bonusTop))),
          bonusOn(lift.bonusTop < 0 ? _mm256_setzero_si256() : _mm256_set1_epi8(-1)) {}

    void Loaded(__m256i bytes[3], const std::uint8_t* flakes) const {
        __m256i flakeBytes[3];
        avx2::LoadPacked(flakes, flakeBytes);
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
            bytes[c] = Screen(bytes[c], flakeBytes[c]);
        }
    }
    void Planes(__m256i*) const {}
    __m256i Mapped(__m256i pixels) const {
        const __m256i bonus =
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_min_epu8(pixels, bonusTop), pixels), bonusOn);
        return _mm256_sub_epi8(_mm256_adds_epu8(pixels, add), bonus);
    }
};

} // namespace

void ScreenAndWashRowAvx2(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count,
                          bool bgr, const CubeCells& cells, const LiftTable& lift) {
    avx2::WalkRow(in, flakes, out, count, bgr, cells, ScreenAndLift(lift));
}

} // namespace qel::imaging
