// Compiled with AVX2 enabled; only called where the processor has it.
#include "whiteboard_avx2.h"

#include "byte_tables_avx2.h"
#include "pixel_planes_avx2.h"

#include <algorithm>

namespace qel::imaging::whiteboard {

namespace {

using avx2::Lookup;

using Stretch = WhiteboardStretch;
constexpr int kStretch = WhiteboardStretch::kPixels;
constexpr int kGroup = 32;

inline __m256i Load(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline void Store(std::uint8_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Bytes widened to words, in the lane order that _mm256_packus_epi16 restores.
struct Words {
    __m256i low, high;
};

inline Words Widen(__m256i bytes) {
    const __m256i zero = _mm256_setzero_si256();
    return {_mm256_unpacklo_epi8(bytes, zero), _mm256_unpackhi_epi8(bytes, zero)};
}

// Words clamped to 0..255, as bytes.
inline __m256i Bounded(__m256i low, __m256i high) {
    return _mm256_packus_epi16(low, high);
}

inline __m256i LumaWords(__m256i blue, __m256i green, __m256i red) {
    // blue + 6 green + 3 red + 5 is at most 2560, so (x * 6554) >> 16 is exactly x / 10.
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(blue, _mm256_mullo_epi16(green, _mm256_set1_epi16(6))),
        _mm256_add_epi16(_mm256_mullo_epi16(red, _mm256_set1_epi16(3)), _mm256_set1_epi16(5)));
    return _mm256_mulhi_epu16(sum, _mm256_set1_epi16(6554));
}

// (3 Cr + Cb - 3) / 6 rounded toward zero: the magnitude (at most 1023) divided, the sign put back.
inline __m256i GreenTerm(__m256i chromaBlue, __m256i chromaRed) {
    const __m256i term = _mm256_sub_epi16(
        _mm256_add_epi16(_mm256_add_epi16(chromaRed, _mm256_slli_epi16(chromaRed, 1)), chromaBlue),
        _mm256_set1_epi16(3));
    return _mm256_sign_epi16(_mm256_mulhi_epu16(_mm256_abs_epi16(term), _mm256_set1_epi16(10923)), term);
}

// Step 1 over a stretch: split and balance, and the luma of the balanced pixels.
template <int Blue, int Red>
void Balance(const std::uint8_t* in, int count, const WhiteboardRowTables& t, Stretch& s) {
    for (int x = 0; x < count; x += kGroup) {
        __m256i c[3];
        avx2::Split(in + 3 * x, c);
#pragma GCC unroll 3
        for (int k = 0; k < 3; ++k) {
            c[k] = Lookup(*t.balanceSlices[k], c[k]);
            Store(s.plane[k] + x, c[k]);
        }
        if (t.flattens) {
            const Words blue = Widen(c[Blue]), green = Widen(c[1]), red = Widen(c[Red]);
            Store(s.luma + x, _mm256_packus_epi16(LumaWords(blue.low, green.low, red.low),
                                                  LumaWords(blue.high, green.high, red.high)));
        }
    }
}

// Steps 2 to 4 over a stretch: the rebuild around the flattened luma, the clip to white and the gamma.
template <int Blue, int Red>
void Finish(const Stretch& s, int count, const WhiteboardRowTables& t, std::uint8_t* out) {
    const __m256i level = _mm256_set1_epi8(static_cast<char>(t.whiteLevel));
    const __m256i colouredInk = _mm256_set1_epi8(25);
    const __m256i zero = _mm256_setzero_si256();
    for (int x = 0; x < count; x += kGroup) {
        __m256i c[3] = {Load(s.plane[0] + x), Load(s.plane[1] + x), Load(s.plane[2] + x)};
        if (t.flattens) {
            const Words blue = Widen(c[Blue]), red = Widen(c[Red]);
            const Words luma = Widen(Load(s.luma + x)), flat = Widen(Load(s.flat + x));
            const Words chromaBlue = {_mm256_sub_epi16(blue.low, luma.low),
                                      _mm256_sub_epi16(blue.high, luma.high)};
            const Words chromaRed = {_mm256_sub_epi16(red.low, luma.low),
                                     _mm256_sub_epi16(red.high, luma.high)};
            c[Blue] = Bounded(_mm256_add_epi16(flat.low, chromaBlue.low),
                              _mm256_add_epi16(flat.high, chromaBlue.high));
            c[Red] = Bounded(_mm256_add_epi16(flat.low, chromaRed.low),
                             _mm256_add_epi16(flat.high, chromaRed.high));
            c[1] = Bounded(_mm256_sub_epi16(flat.low, GreenTerm(chromaBlue.low, chromaRed.low)),
                           _mm256_sub_epi16(flat.high, GreenTerm(chromaBlue.high, chromaRed.high)));
        }
        const __m256i high = _mm256_max_epu8(c[0], _mm256_max_epu8(c[1], c[2]));
        const __m256i low = _mm256_min_epu8(c[0], _mm256_min_epu8(c[1], c[2]));
        // Coloured ink keeps its colour: only near-grey components above the level turn white, which is
        // the gamma of 255.
        const __m256i spread = _mm256_sub_epi8(high, low);
        const __m256i nearGrey = _mm256_cmpeq_epi8(_mm256_min_epu8(spread, colouredInk), spread);
#pragma GCC unroll 3
        for (int k = 0; k < 3; ++k) {
            const __m256i atMostLevel = _mm256_cmpeq_epi8(_mm256_subs_epu8(c[k], level), zero);
            c[k] = Lookup(*t.gammaSlices, _mm256_or_si256(c[k], _mm256_andnot_si256(atMostLevel, nearGrey)));
        }
        avx2::Join(c, out + 3 * x);
    }
}

template <int Blue, int Red>
int EnhanceRow(const std::uint8_t* in, std::uint8_t* out, int count, const WhiteboardRowTables& t) {
    Stretch s;
    const int whole = count - count % kGroup;
    for (int first = 0; first < whole; first += kStretch) {
        const int n = std::min(kStretch, whole - first);
        Balance<Blue, Red>(in + 3 * first, n, t, s);
        if (t.flattens) {
            FlattenStretch(first, n, t, s);
        }
        Finish<Blue, Red>(s, n, t, out + 3 * first);
    }
    return whole;
}

} // namespace

int EnhanceWhiteboardRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count,
                             const WhiteboardRowTables& t) {
    return t.blueFirst ? EnhanceRow<0, 2>(in, out, count, t) : EnhanceRow<2, 0>(in, out, count, t);
}

} // namespace qel::imaging::whiteboard
