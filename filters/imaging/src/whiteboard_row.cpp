// The whiteboard's plain per-pixel pass. The component order and the flattening are fixed per frame, so
// each combination is a loop of its own, and the flattening table's row is taken once per map cell. Whole
// groups of sixteen pixels do the arithmetic with SSE2, which every x86-64 processor has, between byte
// lookups one at a time; the pixels left over go one by one.
#include "whiteboard_row.h"

#include <emmintrin.h>

#include <algorithm>

namespace qel::imaging::whiteboard {

namespace {

inline int Bound(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Balanced components in pixel byte order, flattened or not: the clip to white and the gamma.
inline void Finish(int c0, int c1, int c2, const WhiteboardRowTables& t, std::uint8_t* out) {
    const int spread = std::max(c0, std::max(c1, c2)) - std::min(c0, std::min(c1, c2));
    // Coloured ink keeps its colour: only near-grey pixels are clipped to white.
    const std::uint8_t* table = spread > 25 ? t.gamma : t.clipThenGamma;
    out[0] = table[c0];
    out[1] = table[c1];
    out[2] = table[c2];
}

template <int Blue, int Red>
void FlattenRow(const std::uint8_t* in, std::uint8_t* out, int first, int count,
                const WhiteboardRowTables& t) {
    const std::uint8_t* b0 = t.balance[0];
    const std::uint8_t* b1 = t.balance[1];
    const std::uint8_t* b2 = t.balance[2];
    int cell = std::min(first / t.block, t.columns - 1);
    for (int x = first; x < count; ++cell) {
        const int end = cell == t.columns - 1 ? count : std::min((cell + 1) * t.block, count);
        const std::uint8_t* flatten = t.flatten + 256 * t.backgroundRow[cell];
        for (; x < end; ++x) {
            const std::uint8_t* p = in + 3 * x;
            int c[3] = {b0[p[0]], b1[p[1]], b2[p[2]]};
            const int luma = Luma(c[Blue], c[1], c[Red]);
            const int chromaBlue = c[Blue] - luma;
            const int chromaRed = c[Red] - luma;
            const int flat = flatten[luma];
            c[Blue] = Bound(flat + chromaBlue);
            c[Red] = Bound(flat + chromaRed);
            c[1] = Bound(flat - (3 * chromaRed + chromaBlue - 3) / 6);
            Finish(c[0], c[1], c[2], t, out + 3 * x);
        }
    }
}

void BalanceRow(const std::uint8_t* in, std::uint8_t* out, int first, int count,
                const WhiteboardRowTables& t) {
    const std::uint8_t* b0 = t.balance[0];
    const std::uint8_t* b1 = t.balance[1];
    const std::uint8_t* b2 = t.balance[2];
    for (int x = first; x < count; ++x) {
        const std::uint8_t* p = in + 3 * x;
        Finish(b0[p[0]], b1[p[1]], b2[p[2]], t, out + 3 * x);
    }
}

constexpr int kStretch = WhiteboardStretch::kPixels;
constexpr int kGroup = 16;

inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void Store(std::uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

struct Words {
    __m128i low, high;
};

inline Words Widen(__m128i bytes) {
    const __m128i zero = _mm_setzero_si128();
    return {_mm_unpacklo_epi8(bytes, zero), _mm_unpackhi_epi8(bytes, zero)};
}

inline __m128i LumaWords(__m128i blue, __m128i green, __m128i red) {
    // blue + 6 green + 3 red + 5 is at most 2560, so (x * 6554) >> 16 is exactly x / 10.
    const __m128i sum =
        _mm_add_epi16(_mm_add_epi16(blue, _mm_mullo_epi16(green, _mm_set1_epi16(6))),
                      _mm_add_epi16(_mm_mullo_epi16(red, _mm_set1_epi16(3)), _mm_set1_epi16(5)));
    return _mm_mulhi_epu16(sum, _mm_set1_epi16(6554));
}

// (3 Cr + Cb - 3) / 6 rounded toward zero: the magnitude (at most 1023) divided, the sign put back.
inline __m128i GreenTerm(__m128i chromaBlue, __m128i chromaRed) {
    const __m128i term = _mm_sub_epi16(
        _mm_add_epi16(_mm_add_epi16(chromaRed, _mm_slli_epi16(chromaRed, 1)), chromaBlue), _mm_set1_epi16(3));
    const __m128i sign = _mm_srai_epi16(term, 15);
    const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(term, sign), sign);
    const __m128i quotient = _mm_mulhi_epu16(magnitude, _mm_set1_epi16(10923));
    return _mm_sub_epi16(_mm_xor_si128(quotient, sign), sign);
}

// The rebuild around the flattened luma, then the clip to white: a clipped component becomes 255,
// whose gamma is white.
template <int Blue, int Red>
void RebuildAndClip(int count, const WhiteboardRowTables& t, WhiteboardStretch& s) {
    const __m128i level = _mm_set1_epi8(static_cast<char>(t.whiteLevel));
    const __m128i colouredInk = _mm_set1_epi8(25);
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < count; x += kGroup) {
        __m128i c[3] = {Load(s.plane[0] + x), Load(s.plane[1] + x), Load(s.plane[2] + x)};
        if (t.flattens) {
            const Words blue = Widen(c[Blue]), red = Widen(c[Red]);
            const Words luma = Widen(Load(s.luma + x)), flat = Widen(Load(s.flat + x));
            const Words chromaBlue = {_mm_sub_epi16(blue.low, luma.low), _mm_sub_epi16(blue.high, luma.high)};
            const Words chromaRed = {_mm_sub_epi16(red.low, luma.low), _mm_sub_epi16(red.high, luma.high)};
            c[Blue] = _mm_packus_epi16(_mm_add_epi16(flat.low, chromaBlue.low),
                                       _mm_add_epi16(flat.high, chromaBlue.high));
            c[Red] = _mm_packus_epi16(_mm_add_epi16(flat.low, chromaRed.low),
                                      _mm_add_epi16(flat.high, chromaRed.high));
            c[1] = _mm_packus_epi16(_mm_sub_epi16(flat.low, GreenTerm(chromaBlue.low, chromaRed.low)),
                                    _mm_sub_epi16(flat.high, GreenTerm(chromaBlue.high, chromaRed.high)));
        }
        const __m128i spread = _mm_sub_epi8(_mm_max_epu8(c[0], _mm_max_epu8(c[1], c[2])),
                                            _mm_min_epu8(c[0], _mm_min_epu8(c[1], c[2])));
        const __m128i nearGrey = _mm_cmpeq_epi8(_mm_min_epu8(spread, colouredInk), spread);
        for (int k = 0; k < 3; ++k) {
            const __m128i atMostLevel = _mm_cmpeq_epi8(_mm_subs_epu8(c[k], level), zero);
            Store(s.plane[k] + x, _mm_or_si128(c[k], _mm_andnot_si128(atMostLevel, nearGrey)));
        }
    }
}

template <int Blue, int Red>
int EnhanceStretches(const std::uint8_t* in, std::uint8_t* out, int count, const WhiteboardRowTables& t) {
    const std::uint8_t* b0 = t.balance[0];
    const std::uint8_t* b1 = t.balance[1];
    const std::uint8_t* b2 = t.balance[2];
    const std::uint8_t* gamma = t.gamma;
    WhiteboardStretch s;
    const int whole = count - count % kGroup;
    for (int first = 0; first < whole; first += kStretch) {
        const int n = std::min(kStretch, whole - first);
        const std::uint8_t* p = in + 3 * first;
        for (int x = 0; x < n; ++x, p += 3) {
            s.plane[0][x] = b0[p[0]];
            s.plane[1][x] = b1[p[1]];
            s.plane[2][x] = b2[p[2]];
        }
        if (t.flattens) {
            for (int x = 0; x < n; x += kGroup) {
                const Words blue = Widen(Load(s.plane[Blue] + x)), green = Widen(Load(s.plane[1] + x)),
                            red = Widen(Load(s.plane[Red] + x));
                Store(s.luma + x, _mm_packus_epi16(LumaWords(blue.low, green.low, red.low),
                                                   LumaWords(blue.high, green.high, red.high)));
            }
            FlattenStretch(first, n, t, s);
        }
        RebuildAndClip<Blue, Red>(n, t, s);
        std::uint8_t* q = out + 3 * first;
        for (int x = 0; x < n; ++x, q += 3) {
            q[0] = gamma[s.plane[0][x]];
            q[1] = gamma[s.plane[1][x]];
            q[2] = gamma[s.plane[2][x]];
        }
    }
    return whole;
}

} // namespace

void FlattenStretch(int first, int count, const WhiteboardRowTables& t, WhiteboardStretch& s) {
    int cell = std::min(first / t.block, t.columns - 1);
    for (int x = 0; x < count; ++cell) {
        const int end = cell == t.columns - 1 ? count : std::min((cell + 1) * t.block - first, count);
        const std::uint8_t* row = t.flatten + 256 * t.backgroundRow[cell];
        for (; x < end; ++x) {
            s.flat[x] = row[s.luma[x]];
        }
    }
}

void EnhanceWhiteboardRow(const std::uint8_t* in, std::uint8_t* out, int first, int count,
                          const WhiteboardRowTables& t) {
    if (first == 0) {
        first = t.blueFirst ? EnhanceStretches<0, 2>(in, out, count, t)
                            : EnhanceStretches<2, 0>(in, out, count, t);
    }
    if (!t.flattens) {
        BalanceRow(in, out, first, count, t);
    } else if (t.blueFirst) {
        FlattenRow<0, 2>(in, out, first, count, t);
    } else {
        FlattenRow<2, 0>(in, out, first, count, t);
    }
}

} // namespace qel::imaging::whiteboard
