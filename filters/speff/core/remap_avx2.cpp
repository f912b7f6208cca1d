// Compiled with AVX2 enabled; only called where the processor has it.
#include "core/remap_avx2.h"

#include "src/rgb24_avx2.h"

namespace {

// Byte c of every lane moved to bit 0 (low) or bit 16 (high) of the lane, the rest zero.
__m256i TakeByte(int c, bool high) {
    const char b = static_cast<char>(c);
    const char z = -1;
    return high ? _mm256_setr_epi8(z, z, b, z, z, z, static_cast<char>(b + 4), z, z, z, static_cast<char>(b + 8), z,
                                   z, z, static_cast<char>(b + 12), z, z, z, b, z, z, z, static_cast<char>(b + 4), z,
                                   z, z, static_cast<char>(b + 8), z, z, z, static_cast<char>(b + 12), z)
                : _mm256_setr_epi8(b, z, z, z, static_cast<char>(b + 4), z, z, z, static_cast<char>(b + 8), z, z, z,
                                   static_cast<char>(b + 12), z, z, z, b, z, z, z, static_cast<char>(b + 4), z, z, z,
                                   static_cast<char>(b + 8), z, z, z, static_cast<char>(b + 12), z, z, z);
}

}  // namespace

int RemapLineAvx2(const uint8_t* src, size_t frameBytes, ptrdiff_t nextLine, const CSourceMap::Entry* entries,
                  int count, uint8_t* out) {
    static_assert(sizeof(CSourceMap::Entry) == 8, "entries are read as pairs of words");
    if (frameBytes < 4)
        return 0;
    const int* base = reinterpret_cast<const int*>(src);
    // Offsets into the low half, fractions into the high half of each four entries.
    const __m256i split = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i noOffset = _mm256_set1_epi32(-1);
    const __m256i three = _mm256_set1_epi32(3);
    const __m256i line = _mm256_set1_epi32(static_cast<int>(nextLine));
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    const __m256i full = _mm256_set1_epi32(1024);
    // Last start of a four-byte read within the frame, biased for an unsigned comparison.
    const __m256i sign = _mm256_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i lastRead = _mm256_xor_si256(_mm256_set1_epi32(static_cast<int>(frameBytes - 4)), sign);
    __m256i low[3], high[3];
    for (int c = 0; c < 3; ++c) {
        low[c] = TakeByte(c, false);
        high[c] = TakeByte(c, true);
    }
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
        const __m256i i00 = _mm256_andnot_si256(black, offsets);
        // A neighbour is only read when its fraction is not 0 (otherwise the pixel itself stands in).
        const __m256i stepX = _mm256_andnot_si256(_mm256_cmpeq_epi32(fx, _mm256_setzero_si256()), three);
        const __m256i stepY = _mm256_andnot_si256(_mm256_cmpeq_epi32(fy, _mm256_setzero_si256()), line);
        const __m256i i10 = _mm256_add_epi32(i00, stepX);
        const __m256i i01 = _mm256_add_epi32(i00, stepY);
        const __m256i i11 = _mm256_add_epi32(i01, stepX);
        const __m256i highest = _mm256_max_epu32(_mm256_max_epu32(i00, i10), _mm256_max_epu32(i01, i11));
        if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(_mm256_xor_si256(highest, sign), lastRead)) != 0)
            break;  // a read would pass the frame's end: the caller samples from here on
        const __m256i q00 = _mm256_i32gather_epi32(base, i00, 1);
        const __m256i q10 = _mm256_i32gather_epi32(base, i10, 1);
        const __m256i q01 = _mm256_i32gather_epi32(base, i01, 1);
        const __m256i q11 = _mm256_i32gather_epi32(base, i11, 1);
        const __m256i fxy = _mm256_srli_epi32(_mm256_mullo_epi32(fx, fy), 10);
        const __m256i w00 = _mm256_add_epi32(_mm256_sub_epi32(_mm256_sub_epi32(full, fx), fy), fxy);
        const __m256i w10 = _mm256_sub_epi32(fx, fxy);
        const __m256i w01 = _mm256_sub_epi32(fy, fxy);
        const __m256i top = _mm256_or_si256(w00, _mm256_slli_epi32(w10, 16));
        const __m256i bottom = _mm256_or_si256(w01, _mm256_slli_epi32(fxy, 16));
        __m256i words = _mm256_setzero_si256();
        for (int c = 0; c < 3; ++c) {
            const __m256i upper =
                _mm256_or_si256(_mm256_shuffle_epi8(q00, low[c]), _mm256_shuffle_epi8(q10, high[c]));
            const __m256i lower =
                _mm256_or_si256(_mm256_shuffle_epi8(q01, low[c]), _mm256_shuffle_epi8(q11, high[c]));
            const __m256i sum = _mm256_add_epi32(_mm256_madd_epi16(upper, top), _mm256_madd_epi16(lower, bottom));
            words = _mm256_or_si256(words, _mm256_slli_epi32(_mm256_srli_epi32(sum, 10), 8 * c));
        }
        words = _mm256_andnot_si256(black, words);
        qel::imaging::avx2::StoreEightPixels(words, out + 3 * done);
    }
    return done;
}
