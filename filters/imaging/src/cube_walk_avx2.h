#pragma once
// The one wide walk through a cube's cells, shared by every pass that maps pixels through a colour cube
// (include only from files compiled for AVX2). 32 pixels a block: one load a pixel fetches the four
// nodes of its tetrahedral walk, and the walk's four weights multiply all three channels at once. It
// gives exactly what the plain interpolation gives.
//
// What a pass does besides the cube comes in as `Extras`, inlined into the block:
//   void Loaded(__m256i bytes[3], const std::uint8_t* second) const
//       the block's 96 bytes as LoadPacked leaves them; `second` is the block's part of the pass's second
//       row (null for a pass without one), to be loaded the same way;
//   void Planes(__m256i planes[3]) const
//       the block's bytes 0, 1 and 2 of every pixel, before their cells are looked up;
//   __m256i Mapped(__m256i pixels) const
//       eight output pixels (red, green, blue in bytes 0..2 of a 32-bit lane) before they are stored.
#include "qelimaging/cube_cells.h"

#include "pixel_planes_avx2.h"
#include "rgb24_avx2.h"

#include <cstring>

namespace qel::imaging::avx2 {

constexpr int kCubeBlock = 32; // pixels a block: 96 bytes, three whole registers

// Cell (v - (v >> 4)) >> 4 and fraction v - 17 cell of 32 byte values.
inline void CellAndFraction(__m256i v, __m256i& cell, __m256i& fraction) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
    cell = _mm256_and_si256(_mm256_srli_epi16(_mm256_sub_epi8(v, high), 4), nibble);
    fraction = _mm256_sub_epi8(_mm256_sub_epi8(v, _mm256_slli_epi16(cell, 4)), cell);
}

// a >= b for bytes, as 0xFF or 0.
inline __m256i AtLeast(__m256i a, __m256i b) {
    return _mm256_cmpeq_epi8(_mm256_max_epu8(a, b), a);
}

// Per pixel its record (2 bytes: 6 x cell + walk order) and the walk's four weights (4 signed bytes:
// minus the largest fraction, largest - middle, middle - smallest, smallest), in pixel order.
inline void PrepareWalks(const __m256i planes[3], int red, int blue, std::uint16_t record[kCubeBlock],
                         std::uint8_t weights[4 * kCubeBlock]) {
    __m256i cr, cg, cb, fr, fg, fb;
    CellAndFraction(planes[red], cr, fr);
    CellAndFraction(planes[1], cg, fg);
    CellAndFraction(planes[blue], cb, fb);

    // The walk order from three comparisons (bit 0 red >= green, bit 1 green >= blue, bit 2 red >=
    // blue); the two impossible keys take order 0.
    const __m256i key =
        _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(AtLeast(fr, fg), _mm256_set1_epi8(1)),
                                        _mm256_and_si256(AtLeast(fg, fb), _mm256_set1_epi8(2))),
                        _mm256_and_si256(AtLeast(fr, fb), _mm256_set1_epi8(4)));
    const __m256i order =
        _mm256_shuffle_epi8(_mm256_setr_epi8(5, 2, 4, 0, 0, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 2, 4, 0, 0, 1,
                                             3, 0, 0, 0, 0, 0, 0, 0, 0, 0),
                            key);

    // 6 x (blue x 256 + green x 16 + red) + order, in 16 bits: the low part as byte pairs multiplied and
    // summed, the blue part shifted into the high byte and multiplied.
    const __m256i low = _mm256_or_si256(_mm256_slli_epi16(cg, 4), cr);
    const __m256i sixAndOne = _mm256_set1_epi16(0x0106);
    const __m256i six = _mm256_set1_epi16(6);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i recordA =
        _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_unpacklo_epi8(low, order), sixAndOne),
                         _mm256_mullo_epi16(_mm256_unpacklo_epi8(zero, cb), six));
    const __m256i recordB =
        _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_unpackhi_epi8(low, order), sixAndOne),
                         _mm256_mullo_epi16(_mm256_unpackhi_epi8(zero, cb), six));
    auto* at = reinterpret_cast<__m128i*>(record);
    _mm_storeu_si128(at + 0, _mm256_castsi256_si128(recordA));      // pixels 0-7
    _mm_storeu_si128(at + 1, _mm256_castsi256_si128(recordB));      // 8-15
    _mm_storeu_si128(at + 2, _mm256_extracti128_si256(recordA, 1)); // 16-23
    _mm_storeu_si128(at + 3, _mm256_extracti128_si256(recordB, 1)); // 24-31

    const __m256i largest = _mm256_max_epu8(_mm256_max_epu8(fr, fg), fb);
    const __m256i smallest = _mm256_min_epu8(_mm256_min_epu8(fr, fg), fb);
    const __m256i middle =
        _mm256_sub_epi8(_mm256_sub_epi8(_mm256_add_epi8(_mm256_add_epi8(fr, fg), fb), largest), smallest);
    const __m256i w0 = _mm256_sub_epi8(zero, largest);
    const __m256i w1 = _mm256_sub_epi8(largest, middle);
    const __m256i w2 = _mm256_sub_epi8(middle, smallest);
    // Four bytes a pixel: pixels 0-3 | 16-19, 4-7 | 20-23, 8-11 | 24-27, 12-15 | 28-31.
    const __m256i low01 = _mm256_unpacklo_epi8(w0, w1), high01 = _mm256_unpackhi_epi8(w0, w1);
    const __m256i low23 = _mm256_unpacklo_epi8(w2, smallest), high23 = _mm256_unpackhi_epi8(w2, smallest);
    const __m256i quads[4] = {_mm256_unpacklo_epi16(low01, low23), _mm256_unpackhi_epi16(low01, low23),
                              _mm256_unpacklo_epi16(high01, high23), _mm256_unpackhi_epi16(high01, high23)};
    // Whole registers of eight pixels each: each later load then finds one store to take its bytes from.
    auto* at8 = reinterpret_cast<__m256i*>(weights);
    _mm256_storeu_si256(at8 + 0, _mm256_permute2x128_si256(quads[0], quads[1], 0x20)); // pixels 0-7
    _mm256_storeu_si256(at8 + 1, _mm256_permute2x128_si256(quads[2], quads[3], 0x20)); // 8-15
    _mm256_storeu_si256(at8 + 2, _mm256_permute2x128_si256(quads[0], quads[1], 0x31)); // 16-23
    _mm256_storeu_si256(at8 + 3, _mm256_permute2x128_si256(quads[2], quads[3], 0x31)); // 24-31
}

// Pixels j (low half) and j + 4 (high half) of eight: red, green, blue as 32-bit lanes 0..2 of each
// half, unbounded. weights8 holds the eight pixels' weights, 32 bits each.
template <int j>
inline __m256i WalkTwoPixels(const CubeCells& cells, const std::uint16_t* record, __m256i weights8) {
    const __m256i nodes = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cells.records[record[j]]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells.records[record[j + 4]])), 1);
    // Pixel j's weights lie in lane j of the low half, pixel j + 4's in lane j of the high one.
    const __m256i w = _mm256_shuffle_epi32(weights8, j * 0x55);
    // Nodes times signed weights, summed a channel: the walk's sum (|sum| <= 16 x 255).
    const __m256i sum = _mm256_madd_epi16(_mm256_maddubs_epi16(nodes, w), _mm256_set1_epi16(1));
    // Division by 17 in the shift form, arithmetic shifts as the plain path; then the base node (each
    // channel's lowest byte) on top.
    const __m256i quotient = _mm256_srai_epi32(_mm256_sub_epi32(sum, _mm256_srai_epi32(sum, 4)), 4);
    return _mm256_add_epi32(_mm256_and_si256(nodes, _mm256_set1_epi32(0xFF)), quotient);
}

template <class Extras>
inline void WalkBlock(const std::uint8_t* in, const std::uint8_t* second, std::uint8_t* out, bool bgr,
                      const CubeCells& cells, const Extras& extras) {
    __m256i bytes[3];
    LoadPacked(in, bytes);
    extras.Loaded(bytes, second);
    __m256i planes[3];
    SplitPacked(bytes, planes);
    extras.Planes(planes);
    const int red = bgr ? 2 : 0;
    const int blue = bgr ? 0 : 2;
    std::uint16_t record[kCubeBlock];
    std::uint8_t weights[4 * kCubeBlock];
    PrepareWalks(planes, red, blue, record, weights);
    // Read the records and weights back from memory: the load ports are idle, while taking them out of
    // the registers would queue on the shuffle unit, which the rest keeps busy.
    asm volatile("" ::: "memory");
#pragma GCC unroll 4
    for (int p = 0; p < kCubeBlock; p += 8) {
        const __m256i weights8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 4 * p));
        const __m256i v0 = WalkTwoPixels<0>(cells, record + p, weights8);
        const __m256i v1 = WalkTwoPixels<1>(cells, record + p, weights8);
        const __m256i v2 = WalkTwoPixels<2>(cells, record + p, weights8);
        const __m256i v3 = WalkTwoPixels<3>(cells, record + p, weights8);
        // Bounded to bytes, pixels 0-3 low and 4-7 high.
        const __m256i mapped = _mm256_packus_epi16(_mm256_packs_epi32(v0, v1), _mm256_packs_epi32(v2, v3));
        StoreEightPixels(extras.Mapped(mapped), out + 3 * p, red, blue);
    }
}

// Maps `count` three-byte pixels from in to out (the same buffer or apart) through the cells, with the
// pass's extras; `second` (or null) runs beside `in`, byte for byte. Reads and writes nothing beyond the
// row.
template <class Extras>
inline void WalkRow(const std::uint8_t* in, const std::uint8_t* second, std::uint8_t* out, int count,
                    bool bgr, const CubeCells& cells, const Extras& extras) {
    int done = 0;
    for (; done + kCubeBlock <= count; done += kCubeBlock) {
        const std::size_t at = 3 * static_cast<std::size_t>(done);
        WalkBlock(in + at, second != nullptr ? second + at : nullptr, out + at, bgr, cells, extras);
    }
    if (done < count) {
        // The last few pixels go through a whole block of their own, so nothing past the row is touched.
        const std::size_t at = 3 * static_cast<std::size_t>(done);
        const std::size_t bytes = 3 * static_cast<std::size_t>(count - done);
        std::uint8_t tail[3 * kCubeBlock] = {}, secondTail[3 * kCubeBlock] = {};
        std::memcpy(tail, in + at, bytes);
        if (second != nullptr) {
            std::memcpy(secondTail, second + at, bytes);
        }
        WalkBlock(tail, second != nullptr ? secondTail : nullptr, tail, bgr, cells, extras);
        std::memcpy(out + at, tail, bytes);
    }
}

// Extras that do nothing: the cube alone.
struct CubeOnly {
    void Loaded(__m256i*, const std::uint8_t*) const {}
    void Planes(__m256i*) const {}
    __m256i Mapped(__m256i pixels) const { return pixels; }
};

} // namespace qel::imaging::avx2
