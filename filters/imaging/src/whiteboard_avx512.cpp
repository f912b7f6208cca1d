// Compiled with AVX-512 F, BW and VBMI enabled; only called where the processor has them.
#include "whiteboard_avx512.h"

#include "byte_tables_avx512.h"

namespace qel::imaging::whiteboard {

namespace {

using avx512::ByteTable;
using avx512::Lookup;

// The two halves of 64 bytes widened to 16-bit words.
struct Words {
    __m512i low, high;
};

inline Words Widen(__m512i bytes) {
    return {_mm512_cvtepu8_epi16(_mm512_castsi512_si256(bytes)),
            _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(bytes, 1))};
}

// Words already within 0..255 back to bytes.
inline __m512i Narrow(__m512i low, __m512i high) {
    return _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi16_epi8(low)), _mm512_cvtepi16_epi8(high), 1);
}

// Words clamped to 0..255, as bytes.
inline __m512i NarrowBounded(__m512i low, __m512i high) {
    const __m512i zero = _mm512_setzero_si512();
    return _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtusepi16_epi8(_mm512_max_epi16(low, zero))),
                              _mm512_cvtusepi16_epi8(_mm512_max_epi16(high, zero)), 1);
}

inline __m512i LumaWords(__m512i blue, __m512i green, __m512i red) {
    // blue + 6 green + 3 red + 5 is at most 2560, so (x * 6554) >> 16 is exactly x / 10.
    const __m512i sum = _mm512_add_epi16(
        _mm512_add_epi16(blue, _mm512_mullo_epi16(green, _mm512_set1_epi16(6))),
        _mm512_add_epi16(_mm512_mullo_epi16(red, _mm512_set1_epi16(3)), _mm512_set1_epi16(5)));
    return _mm512_mulhi_epu16(sum, _mm512_set1_epi16(6554));
}

// (3 Cr + Cb - 3) / 6 rounded toward zero: the magnitude (at most 1023) divided, the sign put back.
inline __m512i GreenTerm(__m512i chromaBlue, __m512i chromaRed) {
    const __m512i term = _mm512_sub_epi16(
        _mm512_add_epi16(_mm512_add_epi16(chromaRed, _mm512_slli_epi16(chromaRed, 1)), chromaBlue),
        _mm512_set1_epi16(3));
    const __m512i magnitude = _mm512_mulhi_epu16(_mm512_abs_epi16(term), _mm512_set1_epi16(10923));
    return _mm512_mask_sub_epi16(magnitude, _mm512_movepi16_mask(term), _mm512_setzero_si512(), magnitude);
}

// Flattened luma of the 64 pixels from column `first`: one whole-table lookup for each run of map cells
// of one background among them. The runs are found from the map row alone, so the lookups do not wait
// on one another.
inline __m512i FlatLuma(const std::uint8_t* flatten, const std::uint8_t* cells, int block, int first, __m512i luma) {
    __m512i flat = _mm512_setzero_si512();
    const __mmask64 high = _mm512_movepi8_mask(luma);
    const int lastCell = (first + 63) / block;
    int cell = first / block;
    while (cell <= lastCell) {
        const std::uint8_t background = cells[cell];
        const int from = cell * block > first ? cell * block - first : 0;
        while (cell < lastCell && cells[cell + 1] == background) {
            ++cell;
        }
        const int to = (cell + 1) * block - first; // exclusive; 64 or more for the last cell
        const std::uint64_t upTo = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
        const __mmask64 columns = static_cast<__mmask64>(upTo & ~((std::uint64_t{1} << from) - 1));
        flat = _mm512_mask_mov_epi8(flat, columns, avx512::LookupAt(flatten + 256 * background, luma, high));
        ++cell;
    }
    return flat;
}

} // namespace

int EnhanceWhiteboardRowAvx512(const std::uint8_t* in, std::uint8_t* out, int count,
                               const WhiteboardRowTables& t) {
    const ByteTable balance[3] = {avx512::LoadTable(t.balance[0]), avx512::LoadTable(t.balance[1]),
                                  avx512::LoadTable(t.balance[2])};
    const ByteTable gamma = avx512::LoadTable(t.gamma);
    const __m512i level = _mm512_set1_epi8(static_cast<char>(t.whiteLevel));
    const __m512i white = _mm512_set1_epi8(static_cast<char>(t.gamma[255]));
    const __m512i colouredInk = _mm512_set1_epi8(25);
    const int blueAt = t.blueFirst ? 0 : 2;
    const int redAt = 2 - blueAt;
    int done = 0;
    for (; done + 64 <= count; done += 64) {
        __m512i c[3];
        avx512::Split(in + 3 * done, c);
        for (int k = 0; k < 3; ++k) {
            c[k] = Lookup(balance[k], c[k]);
        }
        if (t.flattens) {
            const Words blue = Widen(c[blueAt]);
            const Words green = Widen(c[1]);
            const Words red = Widen(c[redAt]);
            const Words luma = {LumaWords(blue.low, green.low, red.low), LumaWords(blue.high, green.high, red.high)};
            const Words flat = Widen(FlatLuma(t.flatten, t.backgroundRow, t.block, done, Narrow(luma.low, luma.high)));
            const Words chromaBlue = {_mm512_sub_epi16(blue.low, luma.low), _mm512_sub_epi16(blue.high, luma.high)};
            const Words chromaRed = {_mm512_sub_epi16(red.low, luma.low), _mm512_sub_epi16(red.high, luma.high)};
            c[blueAt] = NarrowBounded(_mm512_add_epi16(flat.low, chromaBlue.low),
                                      _mm512_add_epi16(flat.high, chromaBlue.high));
            c[redAt] = NarrowBounded(_mm512_add_epi16(flat.low, chromaRed.low),
                                     _mm512_add_epi16(flat.high, chromaRed.high));
            c[1] = NarrowBounded(_mm512_sub_epi16(flat.low, GreenTerm(chromaBlue.low, chromaRed.low)),
                                 _mm512_sub_epi16(flat.high, GreenTerm(chromaBlue.high, chromaRed.high)));
        }
        const __m512i high = _mm512_max_epu8(c[0], _mm512_max_epu8(c[1], c[2]));
        const __m512i low = _mm512_min_epu8(c[0], _mm512_min_epu8(c[1], c[2]));
        // Coloured ink keeps its colour: only near-grey components above the level turn white.
        const __mmask64 nearGrey = ~_mm512_cmpgt_epu8_mask(_mm512_sub_epi8(high, low), colouredInk);
        for (int k = 0; k < 3; ++k) {
            const __mmask64 clipped = _mm512_cmpgt_epu8_mask(c[k], level) & nearGrey;
            c[k] = _mm512_mask_mov_epi8(Lookup(gamma, c[k]), clipped, white);
        }
        avx512::Join(c, out + 3 * done);
    }
    return done;
}

} // namespace qel::imaging::whiteboard
