// Compiled with AVX2 enabled; only called where the processor has it.
#include "whiteboard_avx2.h"

#include "rgb24_avx2.h"

namespace qel::imaging::whiteboard {

namespace {

inline __m256i Bound(__m256i v) {
    return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), _mm256_set1_epi32(255));
}

} // namespace

int EnhanceWhiteboardRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, const WhiteboardRowTables& t) {
    const __m256i take[3] = {avx2::TakeByte(0), avx2::TakeByte(1), avx2::TakeByte(2)};
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i tenth = _mm256_set1_epi32(6554);  // (x * 6554) >> 16 is x / 10 for x up to 16388
    const __m256i sixth = _mm256_set1_epi32(10923); // (x * 10923) >> 16 is x / 6 for x up to 1023
    const __m256i clipWhite = _mm256_set1_epi32(256);
    const __m256i colouredInk = _mm256_set1_epi32(25);
    const int* flatten = reinterpret_cast<const int*>(t.flatten);
    int done = 0;
    for (; done + 11 <= count; done += 8) {
        const __m256i bytes = avx2::LoadEightPixels(in + 3 * done);
        __m256i c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = _mm256_i32gather_epi32(t.balance + 256 * k, _mm256_shuffle_epi8(bytes, take[k]), 4);
        if (t.flattens) {
            const __m256i blue = c[t.blue];
            const __m256i red = c[t.red];
            const __m256i sum = _mm256_add_epi32(
                _mm256_add_epi32(blue, _mm256_mullo_epi16(c[1], _mm256_set1_epi32(6))),
                _mm256_add_epi32(_mm256_mullo_epi16(red, _mm256_set1_epi32(3)), _mm256_set1_epi32(5)));
            // Components are 0..255 here, so the 16-bit products above are whole.
            const __m256i luma = _mm256_mulhi_epu16(sum, tenth);
            const __m256i chromaBlue = _mm256_sub_epi32(blue, luma);
            const __m256i chromaRed = _mm256_sub_epi32(red, luma);
            const __m256i background =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t.background + done));
            const __m256i flat =
                _mm256_and_si256(_mm256_i32gather_epi32(flatten, _mm256_add_epi32(background, luma), 1), byteMask);
            // (3 Cr + Cb - 3) / 6 rounded toward zero: the magnitude divided, the sign put back.
            const __m256i tripleRed = _mm256_add_epi32(chromaRed, _mm256_slli_epi32(chromaRed, 1));
            const __m256i term = _mm256_sub_epi32(_mm256_add_epi32(tripleRed, chromaBlue), _mm256_set1_epi32(3));
            const __m256i greenTerm = _mm256_sign_epi32(_mm256_mulhi_epu16(_mm256_abs_epi32(term), sixth), term);
            c[t.blue] = Bound(_mm256_add_epi32(flat, chromaBlue));
            c[t.red] = Bound(_mm256_add_epi32(flat, chromaRed));
            c[1] = Bound(_mm256_sub_epi32(flat, greenTerm));
        }
        const __m256i high = _mm256_max_epi32(c[0], _mm256_max_epi32(c[1], c[2]));
        const __m256i low = _mm256_min_epi32(c[0], _mm256_min_epi32(c[1], c[2]));
        // Coloured ink keeps its colour: only near-grey pixels take the clip-to-white half of the table.
        const __m256i half =
            _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_sub_epi32(high, low), colouredInk), clipWhite);
        __m256i words = _mm256_setzero_si256();
        for (int k = 0; k < 3; ++k) {
            const __m256i value = _mm256_i32gather_epi32(t.finish, _mm256_add_epi32(c[k], half), 4);
            words = _mm256_or_si256(words, _mm256_slli_epi32(value, 8 * k));
        }
        avx2::StoreEightPixels(words, out + 3 * done);
    }
    return done;
}

} // namespace qel::imaging::whiteboard
