// Compiled with AVX2 enabled; only called where the processor has it.
#include "cube_cells_avx2.h"

#include "rgb24_avx2.h"

#include <cstring>

namespace qel::imaging {

namespace {

constexpr int kBlock = 32; // pixels a block: 96 bytes, three whole registers

inline __m256i LoadHalves(const std::uint8_t* low, const std::uint8_t* high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// Shuffle that takes, from 16-byte chunk `chunk` of 16 packed pixels, byte `channel` of each pixel found
// there into the pixel's place.
inline __m256i PlaneShuffle(int chunk, int channel) {
    std::uint8_t mask[16];
    for (int p = 0; p < 16; ++p) {
        const int at = 3 * p + channel;
        mask[p] = at / 16 == chunk ? static_cast<std::uint8_t>(at % 16) : 0x80;
    }
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask)));
}

struct PlaneShuffles {
    __m256i take[3][3]; // [channel][chunk]
    PlaneShuffles() {
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 3; ++k) {
                take[c][k] = PlaneShuffle(k, c);
            }
        }
    }
};

// Splits 32 packed pixels into the planes of their bytes 0, 1 and 2: pixels 0-15 in the low half of
// each plane, 16-31 in the high one.
inline void LoadPlanes(const std::uint8_t* in, const PlaneShuffles& s, __m256i planes[3]) {
    // Each half gets 48 bytes: 16 whole pixels.
    const __m256i x0 = LoadHalves(in, in + 48);
    const __m256i x1 = LoadHalves(in + 16, in + 64);
    const __m256i x2 = LoadHalves(in + 32, in + 80);
    #pragma GCC unroll 8
    for (int c = 0; c < 3; ++c) {
        planes[c] = _mm256_or_si256(
            _mm256_or_si256(_mm256_shuffle_epi8(x0, s.take[c][0]), _mm256_shuffle_epi8(x1, s.take[c][1])),
            _mm256_shuffle_epi8(x2, s.take[c][2]));
    }
}

inline __m256i Row(const ShuffleTable& table, int row) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table.rows[row])));
}

// One half of the table: with x = v - 128 half, row k answers where x - 16 k is 0..15 and the shuffle
// gives 0 where it went below 0, so the XOR of the difference rows up to the value's own row leaves
// that row's entry. Values of the other half give rubbish, which the caller drops.
inline __m256i LookupHalf(__m256i x, const ShuffleTable& table, int firstRow) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i result = _mm256_shuffle_epi8(Row(table, firstRow), x);
    #pragma GCC unroll 8
    for (int k = 1; k < 8; ++k) {
        x = _mm256_sub_epi8(x, sixteen);
        result = _mm256_xor_si256(result, _mm256_shuffle_epi8(Row(table, firstRow + k), x));
    }
    return result;
}

inline __m256i Lookup(__m256i v, const ShuffleTable& table) {
    const __m256i low = LookupHalf(v, table, 0);
    const __m256i high = LookupHalf(_mm256_xor_si256(v, _mm256_set1_epi8(static_cast<char>(0x80))), table, 8);
    return _mm256_blendv_epi8(low, high, v);
}

// Cell (v - (v >> 4)) >> 4 and fraction v - 17 cell of 32 byte values.
inline void CellAndFraction(__m256i v, __m256i& cell, __m256i& fraction) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
    cell = _mm256_and_si256(_mm256_srli_epi16(_mm256_sub_epi8(v, high), 4), nibble);
    fraction = _mm256_sub_epi8(_mm256_sub_epi8(v, _mm256_slli_epi16(cell, 4)), cell);
}

// Per pixel the cell index (2 bytes) and the eight corner weights (8 signed bytes, corner k in byte k),
// in pixel order. The weights are those of the tetrahedral walk, which visits the corners whose axes
// are the ones of largest fraction: corner S weighs min(fractions in S) - max(fractions outside S)
// where that is positive, the base corner minus the largest fraction and the far corner the smallest.
inline void Prepare(const __m256i planes[3], int red, int blue, std::uint16_t index[kBlock],
                    std::uint8_t weights[8 * kBlock]) {
    __m256i cr, cg, cb, fr, fg, fb;
    CellAndFraction(planes[red], cr, fr);
    CellAndFraction(planes[1], cg, fg);
    CellAndFraction(planes[blue], cb, fb);

    const __m256i low = _mm256_or_si256(_mm256_slli_epi16(cg, 4), cr);
    const __m256i indexA = _mm256_unpacklo_epi8(low, cb); // pixels 0-7 | 16-23
    const __m256i indexB = _mm256_unpackhi_epi8(low, cb); // pixels 8-15 | 24-31
    auto* at = reinterpret_cast<__m128i*>(index);
    _mm_storeu_si128(at + 0, _mm256_castsi256_si128(indexA));
    _mm_storeu_si128(at + 1, _mm256_castsi256_si128(indexB));
    _mm_storeu_si128(at + 2, _mm256_extracti128_si256(indexA, 1));
    _mm_storeu_si128(at + 3, _mm256_extracti128_si256(indexB, 1));

    const __m256i maxRG = _mm256_max_epu8(fr, fg), maxRB = _mm256_max_epu8(fr, fb);
    const __m256i maxGB = _mm256_max_epu8(fg, fb);
    const __m256i minRG = _mm256_min_epu8(fr, fg), minRB = _mm256_min_epu8(fr, fb);
    const __m256i minGB = _mm256_min_epu8(fg, fb);
    __m256i w[8];
    w[0] = _mm256_sub_epi8(_mm256_setzero_si256(), _mm256_max_epu8(maxRG, fb));
    w[1] = _mm256_subs_epu8(fr, maxGB);
    w[2] = _mm256_subs_epu8(fg, maxRB);
    w[3] = _mm256_subs_epu8(minRG, fb);
    w[4] = _mm256_subs_epu8(fb, maxRG);
    w[5] = _mm256_subs_epu8(minRB, fg);
    w[6] = _mm256_subs_epu8(minGB, fr);
    w[7] = _mm256_min_epu8(minRG, fb);

    // Transpose to eight bytes a pixel. After three rounds of in-half interleaving, register j holds
    // pixels 2j, 2j + 1 in its low half and 16 + 2j, 17 + 2j in its high half.
    __m256i pairs[8]; // corners (2i, 2i + 1): [0..3] pixels 0-7 | 16-23, [4..7] pixels 8-15 | 24-31
    #pragma GCC unroll 8
    for (int i = 0; i < 4; ++i) {
        pairs[i] = _mm256_unpacklo_epi8(w[2 * i], w[2 * i + 1]);
        pairs[4 + i] = _mm256_unpackhi_epi8(w[2 * i], w[2 * i + 1]);
    }
    __m256i quads[8]; // corners 0-3 / 4-7 of pixels 0-3|16-19, 4-7|20-23, 8-11|24-27, 12-15|28-31
    #pragma GCC unroll 8
    for (int h = 0; h < 2; ++h) {
        const __m256i* p = pairs + 4 * h;
        quads[4 * h + 0] = _mm256_unpacklo_epi16(p[0], p[1]);
        quads[4 * h + 1] = _mm256_unpacklo_epi16(p[2], p[3]);
        quads[4 * h + 2] = _mm256_unpackhi_epi16(p[0], p[1]);
        quads[4 * h + 3] = _mm256_unpackhi_epi16(p[2], p[3]);
    }
    #pragma GCC unroll 8
    for (int g = 0; g < 4; ++g) { // g: pixels 4g..4g+3 | 16+4g..
        const __m256i lowCorners = quads[2 * g];
        const __m256i highCorners = quads[2 * g + 1];
        const __m256i first = _mm256_unpacklo_epi32(lowCorners, highCorners);  // pixels 4g, 4g+1
        const __m256i second = _mm256_unpackhi_epi32(lowCorners, highCorners); // pixels 4g+2, 4g+3
        auto* lowHalf = reinterpret_cast<__m128i*>(weights + 8 * (4 * g));
        auto* highHalf = reinterpret_cast<__m128i*>(weights + 8 * (16 + 4 * g));
        _mm_storeu_si128(lowHalf, _mm256_castsi256_si128(first));
        _mm_storeu_si128(lowHalf + 1, _mm256_castsi256_si128(second));
        _mm_storeu_si128(highHalf, _mm256_extracti128_si256(first, 1));
        _mm_storeu_si128(highHalf + 1, _mm256_extracti128_si256(second, 1));
    }
}

// Four pixels' interpolated channels as 16-bit lanes, unbounded: the low half red and green of pixel
// j in lanes 2j and 2j + 1, the high half blue in lane 2j.
inline __m256i FourPixels(const CubeCells& cells, const std::uint16_t* index, const std::uint8_t* weights,
                          const __m256i takeBase[4]) {
    __m256i sums[4];
    __m256i base = _mm256_setzero_si256();
    #pragma GCC unroll 8
    for (int j = 0; j < 4; ++j) {
        const __m256i corners = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells.corners[index[j]]));
        const __m256i w = _mm256_broadcastq_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + 8 * j)));
        // Corner values times signed weights, neighbours summed: four sums a channel (at most 8160).
        sums[j] = _mm256_maddubs_epi16(corners, w);
        base = _mm256_or_si256(base, _mm256_shuffle_epi8(corners, takeBase[j]));
    }
    const __m256i sum = _mm256_hadd_epi16(_mm256_hadd_epi16(sums[0], sums[1]), _mm256_hadd_epi16(sums[2], sums[3]));
    // Division by 17 in the shift form, arithmetic shifts as the plain path.
    const __m256i quotient = _mm256_srai_epi16(_mm256_sub_epi16(sum, _mm256_srai_epi16(sum, 4)), 4);
    return _mm256_add_epi16(base, quotient);
}

// Shuffles that put pixel j's base corner (bytes 0, 8 and 16 of its cell) where FourPixels' sums lie.
inline void BaseShuffles(__m256i take[4]) {
    for (int j = 0; j < 4; ++j) {
        std::uint8_t mask[32];
        std::memset(mask, 0x80, sizeof mask);
        mask[4 * j] = 0;
        mask[4 * j + 2] = 8;
        mask[16 + 4 * j] = 0; // the high half's byte 0 is the cell's byte 16
        take[j] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask));
    }
}

void Block(const std::uint8_t* in, std::uint8_t* out, bool bgr, const CubeCells& cells,
           const ShuffleTable* before, const PlaneShuffles& shuffles, const __m256i takeBase[4]) {
    __m256i planes[3];
    LoadPlanes(in, shuffles, planes);
    if (before != nullptr) {
        #pragma GCC unroll 8
        for (int c = 0; c < 3; ++c) {
            planes[c] = Lookup(planes[c], before[c]);
        }
    }
    const int red = bgr ? 2 : 0;
    const int blue = bgr ? 0 : 2;
    std::uint16_t index[kBlock];
    std::uint8_t weights[8 * kBlock];
    Prepare(planes, red, blue, index, weights);
    // Read the indices and weights back from memory: the load ports are idle, while taking them out of
    // the registers would queue on the shuffle unit, which the rest keeps busy.
    asm volatile("" ::: "memory");
    #pragma GCC unroll 8
    for (int p = 0; p < kBlock; p += 8) {
        const __m256i first = FourPixels(cells, index + p, weights + 8 * p, takeBase);
        const __m256i second = FourPixels(cells, index + p + 4, weights + 8 * (p + 4), takeBase);
        // Bounded to bytes: red, green pairs of the eight pixels low, blue high.
        const __m256i bytes = _mm256_packus_epi16(first, second);
        const __m128i redGreen = _mm256_castsi256_si128(bytes);
        const __m128i blueZero = _mm256_extracti128_si256(bytes, 1);
        const __m256i words = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_unpacklo_epi16(redGreen, blueZero)),
                                                      _mm_unpackhi_epi16(redGreen, blueZero), 1);
        avx2::StoreEightPixels(words, out + 3 * p, red, blue);
    }
}

} // namespace

void ApplyCubeCellsRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr,
                           const CubeCells& cells, const ShuffleTable* before) {
    const PlaneShuffles shuffles;
    __m256i takeBase[4];
    BaseShuffles(takeBase);
    int done = 0;
    for (; done + kBlock <= count; done += kBlock) {
        Block(in + 3 * done, out + 3 * done, bgr, cells, before, shuffles, takeBase);
    }
    if (done < count) {
        // The last few pixels go through a whole block of their own, so nothing past the row is touched.
        const std::size_t bytes = 3 * static_cast<std::size_t>(count - done);
        std::uint8_t tail[3 * kBlock] = {};
        std::memcpy(tail, in + 3 * done, bytes);
        Block(tail, tail, bgr, cells, before, shuffles, takeBase);
        std::memcpy(out + 3 * done, tail, bytes);
    }
}

} // namespace qel::imaging
