// Compiled with AVX2 enabled; only called where the processor has it.
#include "snow_wash.h"

#include "rgb24_avx2.h"

namespace qel::imaging {

namespace {

// s + n - trunc(s n / 255) for sixteen bytes held in 16-bit lanes: (x x 0x8081) >> 23 is exact for
// every product x of two bytes.
inline __m256i ScreenHalf(__m256i s, __m256i n) {
    const __m256i quotient =
        _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(s, n), _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
    return _mm256_sub_epi16(_mm256_add_epi16(s, n), quotient);
}

inline __m256i Screen(__m256i s, __m256i n) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = ScreenHalf(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(n, zero));
    const __m256i high = ScreenHalf(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(n, zero));
    return _mm256_packus_epi16(low, high);
}

// An 8-bit value's cube cell and its fraction (0..16) within it, in 32-bit lanes.
inline void CellAndFraction(__m256i value, __m256i& cell, __m256i& fraction) {
    cell = _mm256_srli_epi32(_mm256_sub_epi32(value, _mm256_srli_epi32(value, 4)), 4);
    fraction = _mm256_sub_epi32(value, _mm256_mullo_epi32(cell, _mm256_set1_epi32(17)));
}

// 1 where a >= b, else 0.
inline __m256i AtLeast(__m256i a, __m256i b) {
    return _mm256_andnot_si256(_mm256_cmpgt_epi32(b, a), _mm256_set1_epi32(1));
}

// One pixel in each 128-bit half (its entry and its fractions fr | fg << 8 | fb << 16 in every word):
// the interpolated red, green, blue in the first three 32-bit lanes of the half.
inline __m256i Interpolate(__m256i entry, __m256i fractions) {
    const __m256i sums = _mm256_madd_epi16(_mm256_maddubs_epi16(fractions, entry), _mm256_set1_epi16(1));
    // Division by 17 in the shift form, arithmetic shifts as in the plain path.
    const __m256i quotient = _mm256_srai_epi32(_mm256_sub_epi32(sums, _mm256_srai_epi32(sums, 4)), 4);
    return _mm256_add_epi32(_mm256_srli_epi32(entry, 24), quotient);
}

} // namespace

int ScreenAndWashRowAvx2(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count, bool bgr,
                         const UnfoldedCube& cube, const LiftTable& lift) {
    const int red = bgr ? 2 : 0;
    const int blue = bgr ? 0 : 2;
    const __m256i takeRed = avx2::TakeByte(red);
    const __m256i takeGreen = avx2::TakeByte(1);
    const __m256i takeBlue = avx2::TakeByte(blue);
    __m256i spread[4];
    avx2::PairSpreads(spread);
    const __m256i add = _mm256_set1_epi8(static_cast<char>(lift.add));
    const __m256i bonusTop = _mm256_set1_epi8(static_cast<char>(lift.bonusTop < 0 ? 0 : lift.bonusTop));
    const __m256i bonusOn = lift.bonusTop < 0 ? _mm256_setzero_si256() : _mm256_set1_epi8(-1);
    const auto* entries = reinterpret_cast<const std::uint8_t*>(cube.words.data());
    alignas(32) std::int32_t offsets[8];

    int done = 0;
    for (; done + 11 <= count; done += 8) {
        const __m256i screened =
            Screen(avx2::LoadEightPixels(in + 3 * done), avx2::LoadEightPixels(flakes + 3 * done));
        __m256i rCell, gCell, bCell, rFraction, gFraction, bFraction;
        CellAndFraction(_mm256_shuffle_epi8(screened, takeRed), rCell, rFraction);
        CellAndFraction(_mm256_shuffle_epi8(screened, takeGreen), gCell, gFraction);
        CellAndFraction(_mm256_shuffle_epi8(screened, takeBlue), bCell, bFraction);
        const __m256i key = _mm256_or_si256(
            AtLeast(rFraction, gFraction),
            _mm256_or_si256(_mm256_slli_epi32(AtLeast(gFraction, bFraction), 1),
                            _mm256_slli_epi32(AtLeast(rFraction, bFraction), 2)));
        const __m256i cell =
            _mm256_add_epi32(rCell, _mm256_add_epi32(_mm256_slli_epi32(gCell, 4), _mm256_slli_epi32(bCell, 8)));
        // Byte offset of the entry: (cell x 8 + key) x 16.
        _mm256_store_si256(reinterpret_cast<__m256i*>(offsets),
                           _mm256_or_si256(_mm256_slli_epi32(cell, 7), _mm256_slli_epi32(key, 4)));
        const __m256i fractions = _mm256_or_si256(
            rFraction, _mm256_or_si256(_mm256_slli_epi32(gFraction, 8), _mm256_slli_epi32(bFraction, 16)));
        __m256i pairs[4];
        for (int p = 0; p < 4; ++p) {
            const __m256i entry = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + offsets[2 * p]))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + offsets[2 * p + 1])), 1);
            pairs[p] = Interpolate(entry, _mm256_permutevar8x32_epi32(fractions, spread[p]));
        }
        // Bounded to bytes by the packing; the packing leaves the pixels in the order 0 2 4 6 1 3 5 7.
        const __m256i bytes = _mm256_permutevar8x32_epi32(
            _mm256_packus_epi16(_mm256_packs_epi32(pairs[0], pairs[1]), _mm256_packs_epi32(pairs[2], pairs[3])),
            _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
        const __m256i bonus =
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_min_epu8(bytes, bonusTop), bytes), bonusOn);
        const __m256i lifted = _mm256_sub_epi8(_mm256_adds_epu8(bytes, add), bonus);
        // The words hold red, green, blue in bytes 0, 1, 2: the pixel's red byte takes byte 0.
        avx2::StoreEightPixels(lifted, out + 3 * done, red, blue);
    }
    return done;
}

} // namespace qel::imaging
