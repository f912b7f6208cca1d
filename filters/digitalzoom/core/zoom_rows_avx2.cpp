// Compiled with AVX2 enabled; only called where the processor has it.
#include "core/zoom_rows_avx2.h"

#include "src/rgb24_avx2.h"

namespace {

// Two columns' near and far channels as (near, far) word pairs, one column a lane.
inline __m256i LoadTaps(const uint16_t* mixed, const int32_t* near, const int32_t* far, int column) {
    auto pairs = [&](int c) {
        return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + near[c])),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + far[c])));
    };
    return _mm256_inserti128_si256(_mm256_castsi128_si256(pairs(column)), pairs(column + 1), 1);
}

}  // namespace

int MixZoomRowsAvx2(const uint8_t* nearRow, const uint8_t* farRow, unsigned nearWeight, unsigned farWeight,
                    int count, uint16_t* mixed) {
    // Weights are at most 6 and bytes at most 255: 16-bit products and sums are whole.
    const __m256i nw = _mm256_set1_epi16(static_cast<short>(nearWeight));
    const __m256i fw = _mm256_set1_epi16(static_cast<short>(farWeight));
    int done = 0;
    for (; done + 16 <= count; done += 16) {
        const __m256i n = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(nearRow + done)));
        const __m256i f = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(farRow + done)));
        const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(n, nw), _mm256_mullo_epi16(f, fw));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(mixed + done), sum);
    }
    return done;
}

int ScaleZoomRowAvx2(const uint16_t* mixed, const int32_t* near, const int32_t* far, const uint32_t* weights,
                     int width, int divisor, uint8_t* out) {
    // Sums are at most divisor x 255, so (sum x ceil(2^22 / divisor)) >> 22 is the truncated quotient
    // (the error stays below 1 / divisor) and the product fits 32 bits.
    const __m256i magic = _mm256_set1_epi32(static_cast<int>(((1u << 22) + static_cast<unsigned>(divisor) - 1) /
                                                             static_cast<unsigned>(divisor)));
    __m256i spread[4];
    qel::imaging::avx2::PairSpreads(spread);
    int done = 0;
    for (; done + 8 <= width; done += 8) {
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + done));
        __m256i quotients[4];
        for (int p = 0; p < 4; ++p) {
            const __m256i sums = _mm256_madd_epi16(LoadTaps(mixed, near + done, far + done, 2 * p),
                                                   _mm256_permutevar8x32_epi32(w, spread[p]));
            quotients[p] = _mm256_srli_epi32(_mm256_mullo_epi32(sums, magic), 22);
        }
        qel::imaging::avx2::StorePixelPairs(quotients, out + 3 * done);
    }
    return done;
}
