// Compiled with AVX2 enabled; only called where the processor has it.
#include "core/remap_avx2.h"

#include "src/rgb24_avx2.h"

namespace {

// Per 128-bit lane: the bytes of one pixel pair loaded as [top row 8 bytes | bottom row 8 bytes] (the
// pixel and its right neighbour on each row) spread to 16-bit pairs (pixel, neighbour) per channel;
// the fourth pair stays 0.
__m256i PairsOf(bool bottom) {
    const char o = bottom ? 8 : 0;
    const char z = -1;
    const char b0 = o, b1 = static_cast<char>(o + 1), b2 = static_cast<char>(o + 2);
    const char n0 = static_cast<char>(o + 3), n1 = static_cast<char>(o + 4), n2 = static_cast<char>(o + 5);
    return _mm256_setr_epi8(b0, z, n0, z, b1, z, n1, z, b2, z, n2, z, z, z, z, z,
                            b0, z, n0, z, b1, z, n1, z, b2, z, n2, z, z, z, z, z);
}

// The two rows of two pixels' corners, one pixel a lane.
inline __m256i LoadCorners(const uint8_t* src, const int* top, const int* bottom, int k) {
    const __m128i first = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + top[k])),
                                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + bottom[k])));
    const __m128i second =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + top[k + 1])),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + bottom[k + 1])));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
}

}  // namespace

int RemapLineAvx2(const uint8_t* src, size_t frameBytes, ptrdiff_t nextLine, const CSourceMap::Entry* entries,
                  int count, uint8_t* out) {
    static_assert(sizeof(CSourceMap::Entry) == 8, "entries are read as pairs of words");
    if (frameBytes < 8)
        return 0;
    // Offsets into the low half, fractions into the high half of each four entries.
    const __m256i split = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i noOffset = _mm256_set1_epi32(-1);
    const __m256i line = _mm256_set1_epi32(static_cast<int>(nextLine));
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    const __m256i full = _mm256_set1_epi32(1024);
    // Last start of an eight-byte read within the frame, biased for an unsigned comparison.
    const __m256i sign = _mm256_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i lastRead = _mm256_xor_si256(_mm256_set1_epi32(static_cast<int>(frameBytes - 8)), sign);
    const __m256i topPairs = PairsOf(false);
    const __m256i bottomPairs = PairsOf(true);
    alignas(32) int top[8];
    alignas(32) int bottom[8];
    __m256i spread[4];
    qel::imaging::avx2::PairSpreads(spread);
    int done = 0;
    for (; done + 8 <= count; done += 8) {
        const __m256i first = _mm256_permutevar8x32_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + done)), split);
        const __m256i second = _mm256_permutevar8x32_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + done + 4)), split);
        const __m256i offsets = _mm256_permute2x128_si256(first, second, 0x20);
        const __m256i fractions = _mm256_permute2x128_si256(first, second, 0x31);
        const __m256i black = _mm256_cmpeq_epi32(offsets, noOffset);
        const __m256i fx = _mm256_and_si256(fractions, low16);
        const __m256i fy = _mm256_srli_epi32(fractions, 16);
        // A black pixel reads its frame's first bytes with weights 0; a line below is only read when
        // its fraction is not 0 (otherwise the pixel's own line stands in, with weight 0).
        const __m256i i00 = _mm256_andnot_si256(black, offsets);
        const __m256i i01 = _mm256_add_epi32(
            i00, _mm256_andnot_si256(_mm256_cmpeq_epi32(fy, _mm256_setzero_si256()), line));
        const __m256i highest = _mm256_max_epu32(i00, i01);
        if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(_mm256_xor_si256(highest, sign), lastRead)) != 0)
            break;  // a read would pass the frame's end: the caller samples from here on
        _mm256_store_si256(reinterpret_cast<__m256i*>(top), i00);
        _mm256_store_si256(reinterpret_cast<__m256i*>(bottom), i01);
        const __m256i fxy = _mm256_srli_epi32(_mm256_mullo_epi32(fx, fy), 10);
        const __m256i w00 = _mm256_add_epi32(_mm256_sub_epi32(_mm256_sub_epi32(full, fx), fy), fxy);
        const __m256i w10 = _mm256_sub_epi32(fx, fxy);
        const __m256i w01 = _mm256_sub_epi32(fy, fxy);
        // A neighbour with fraction 0 has weight 0, so reading it (the next three bytes) changes nothing.
        const __m256i upperWeights = _mm256_andnot_si256(black, _mm256_or_si256(w00, _mm256_slli_epi32(w10, 16)));
        const __m256i lowerWeights = _mm256_andnot_si256(black, _mm256_or_si256(w01, _mm256_slli_epi32(fxy, 16)));
        __m256i sums[4];
        for (int p = 0; p < 4; ++p) {
            const __m256i corners = LoadCorners(src, top, bottom, 2 * p);
            const __m256i upper = _mm256_madd_epi16(_mm256_shuffle_epi8(corners, topPairs),
                                                    _mm256_permutevar8x32_epi32(upperWeights, spread[p]));
            const __m256i lower = _mm256_madd_epi16(_mm256_shuffle_epi8(corners, bottomPairs),
                                                    _mm256_permutevar8x32_epi32(lowerWeights, spread[p]));
            sums[p] = _mm256_srli_epi32(_mm256_add_epi32(upper, lower), 10);
        }
        qel::imaging::avx2::StorePixelPairs(sums, out + 3 * done);
    }
    return done;
}
