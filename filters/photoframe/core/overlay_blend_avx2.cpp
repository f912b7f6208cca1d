// Compiled with AVX2 enabled; only called where the processor has it.
#include "core/overlay_blend_avx2.h"

#include "src/rgb24_avx2.h"

namespace {

// (video x (255 - alpha) + overlay x alpha) / 255 for two pixels a 128-bit half in 16-bit lanes. The
// sum stays below 65536 since the weights add up to 255, and (x x 0x8081) >> 23 is x / 255 for all
// such sums; alpha 0 and 255 come out as the video and the overlay, as the plain path's shortcuts do.
inline __m256i Mix(__m256i video, __m256i overlay) {
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(overlay, 0xFF), 0xFF);
    const __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(video, keep), _mm256_mullo_epi16(overlay, alpha));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(sum, _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
}

} // namespace

int BlendOverlayRowAvx2(const uint8_t* in, const uint8_t* overlay, uint8_t* out, int count) {
    // Each pixel's three bytes into its own 32-bit lane, the fourth byte 0.
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4, 5,
                                            -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i zero = _mm256_setzero_si256();
    int done = 0;
    for (; done + 11 <= count; done += 8) {
        const __m256i video = _mm256_shuffle_epi8(qel::imaging::avx2::LoadEightPixels(in + 3 * done), spread);
        const __m256i frame = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(overlay + 4 * done));
        const __m256i low = Mix(_mm256_unpacklo_epi8(video, zero), _mm256_unpacklo_epi8(frame, zero));
        const __m256i high = Mix(_mm256_unpackhi_epi8(video, zero), _mm256_unpackhi_epi8(frame, zero));
        qel::imaging::avx2::StoreEightPixels(_mm256_packus_epi16(low, high), out + 3 * done);
    }
    return done;
}
