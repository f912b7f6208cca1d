// Compiled with AVX2 enabled; only called where the processor has it.
#include "core/mirror_row.h"

#include <immintrin.h>

int MirrorRowAvx2(const std::uint8_t* in, std::uint8_t* out, int width) {
    // Sixteen bytes loaded one byte before five source pixels hold them at bytes 1..15: output pixel m
    // of the five is source pixel 4 - m. The sixteenth output byte is spare.
    const __m128i reverse = _mm_setr_epi8(13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3, -1);
    int x = 0;
    for (; x + 5 < width; x += 5) {
        // x + 5 < width keeps the load's first byte within the row, and the spare byte on a pixel that
        // a later store or the caller writes.
        const std::uint8_t* from = in + 3 * static_cast<std::int64_t>(width - x - 5) - 1;
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * static_cast<std::int64_t>(x)),
                         _mm_shuffle_epi8(pixels, reverse));
    }
    return x;
}
