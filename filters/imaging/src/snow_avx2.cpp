// Compiled with AVX2 enabled; only called where the processor has it.
#include "snow_wash.h"

#include "rgb24_avx2.h"

#include <cstring>

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

// Every byte's cube cell and its fraction (0..16) within it. Byte shifts are word shifts with the bits
// that cross from the neighbouring byte masked off.
inline void CellsAndFractions(__m256i value, __m256i& cells, __m256i& fractions) {
    const __m256i low4 = _mm256_set1_epi8(0x0F);
    const __m256i reduced = _mm256_sub_epi8(value, _mm256_and_si256(_mm256_srli_epi16(value, 4), low4));
    cells = _mm256_and_si256(_mm256_srli_epi16(reduced, 4), low4);
    // 17 x cell is cell + cell << 4, which stays within its byte for cells up to 15.
    fractions = _mm256_sub_epi8(_mm256_sub_epi8(value, cells), _mm256_slli_epi16(cells, 4));
}

// Shuffle that gathers bytes of each pixel of a loaded group into its 32-bit lane: lane byte i takes
// pixel byte pick[i] (-1 for zero).
inline __m256i PixelShuffle(const int pick[4]) {
    alignas(32) char bytes[32];
    for (int half = 0; half < 2; ++half) {
        for (int p = 0; p < 4; ++p) {
            for (int i = 0; i < 4; ++i) {
                bytes[16 * half + 4 * p + i] = static_cast<char>(pick[i] < 0 ? -1 : 3 * p + pick[i]);
            }
        }
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes));
}

// One pixel in each 128-bit half (its entry and its fractions fr | fg << 8 | fb << 16 in every word):
// the interpolated red, green, blue in the first three 32-bit lanes of the half.
inline __m256i Interpolate(__m256i entry, __m256i fractions) {
    const __m256i sums = _mm256_madd_epi16(_mm256_maddubs_epi16(fractions, entry), _mm256_set1_epi16(1));
    // Division by 17 in the shift form, arithmetic shifts as in the plain path.
    const __m256i quotient = _mm256_srai_epi32(_mm256_sub_epi32(sums, _mm256_srai_epi32(sums, 4)), 4);
    return _mm256_add_epi32(_mm256_srli_epi32(entry, 24), quotient);
}

// The groups of eight pixels whose 32-byte loads stay within the row: returns how many pixels it did,
// leaving the last three to ten.
int WashGroups(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count, bool bgr,
               const UnfoldedCube& cube, const LiftTable& lift) {
    const int red = bgr ? 2 : 0;
    const int blue = bgr ? 0 : 2;
    const int rgb[4] = {red, 1, blue, -1};
    const __m256i takeRgb = PixelShuffle(rgb);
    // Within a lane of fractions (red, green, blue, 0): the pairs red-green, green-blue, red-blue.
    const __m256i firsts = _mm256_setr_epi8(0, 1, 0, -1, 4, 5, 4, -1, 8, 9, 8, -1, 12, 13, 12, -1, 0, 1, 0, -1, 4, 5,
                                            4, -1, 8, 9, 8, -1, 12, 13, 12, -1);
    const __m256i seconds = _mm256_setr_epi8(1, 2, 2, -1, 5, 6, 6, -1, 9, 10, 10, -1, 13, 14, 14, -1, 1, 2, 2, -1, 5,
                                             6, 6, -1, 9, 10, 10, -1, 13, 14, 14, -1);
    // Order key bits 0..2 at the entry offset's scale (16 bytes an entry), summed per lane below.
    const __m256i keyBits = _mm256_set1_epi32(0x00402010);
    const __m256i cellWeights = _mm256_set1_epi32(0x00011001); // red 1, green 16, blue 1 (x 256 below)
    const __m256i blueHigh = _mm256_set1_epi32(0x01000001);    // word 0 x 1, word 1 x 256
    const __m256i ones = _mm256_set1_epi8(1);
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
        __m256i cells, fractions;
        CellsAndFractions(screened, cells, fractions);
        const __m256i cellsRgb = _mm256_shuffle_epi8(cells, takeRgb);
        const __m256i fractionsRgb = _mm256_shuffle_epi8(fractions, takeRgb);
        // Cell number red + 16 green + 256 blue, then x 128 for its eight entries of 16 bytes.
        const __m256i cell = _mm256_madd_epi16(_mm256_maddubs_epi16(cellsRgb, cellWeights), blueHigh);
        // Fractions are 0..16, so signed byte comparisons serve; the fourth pair (0, 0) is masked off.
        const __m256i atLeast = _mm256_andnot_si256(
            _mm256_cmpgt_epi8(_mm256_shuffle_epi8(fractionsRgb, seconds), _mm256_shuffle_epi8(fractionsRgb, firsts)),
            keyBits);
        const __m256i key = _mm256_madd_epi16(_mm256_maddubs_epi16(atLeast, ones), _mm256_set1_epi16(1));
        _mm256_store_si256(reinterpret_cast<__m256i*>(offsets), _mm256_add_epi32(_mm256_slli_epi32(cell, 7), key));
        __m256i pairs[4];
        for (int p = 0; p < 4; ++p) {
            const __m256i entry = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + offsets[2 * p]))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + offsets[2 * p + 1])), 1);
            pairs[p] = Interpolate(entry, _mm256_permutevar8x32_epi32(fractionsRgb, spread[p]));
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

} // namespace

void ScreenAndWashRowAvx2(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, int count,
                          bool bgr, const UnfoldedCube& cube, const LiftTable& lift) {
    const int done = WashGroups(in, flakes, out, count, bgr, cube, lift);
    // The rest through buffers with room for the groups' loads, so that nothing past the row is read.
    constexpr int kRoom = 24;
    const std::size_t rest = 3 * static_cast<std::size_t>(count - done);
    std::uint8_t pixels[3 * kRoom] = {}, restFlakes[3 * kRoom] = {}, washed[3 * kRoom];
    std::memcpy(pixels, in + 3 * static_cast<std::size_t>(done), rest);
    std::memcpy(restFlakes, flakes + 3 * static_cast<std::size_t>(done), rest);
    WashGroups(pixels, restFlakes, washed, kRoom, bgr, cube, lift);
    std::memcpy(out + 3 * static_cast<std::size_t>(done), washed, rest);
}

} // namespace qel::imaging
