#include "core/emboss_effect.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

EmbossParams EmbossParamsForStrength(int strength) {
    const float x = static_cast<float>(strength) * 0.03f;
    EmbossParams params;
    params.offset = static_cast<int>(x);
    params.fraction = static_cast<int>((x - static_cast<float>(params.offset)) * 128.0f);
    return params;
}

namespace {

int ClampIndex(int64_t index, int last) {
    return static_cast<int>(std::clamp<int64_t>(index, 0, last));
}

uint8_t ClampByte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// The bilinear sample's weights of its four corners (out of 16384), expanded from
// (P10 + P01 - 2 P00) f128 + (P11 + P00 - P10 - P01) f^2 + P00 16384 so that a pixel costs three
// multiplications.
struct EmbossWeights {
    int w00, w01, w11;  // w10 equals w01
    explicit EmbossWeights(int fraction) {
        const int first = fraction * 128;
        const int cross = fraction * fraction;
        w00 = 16384 - 2 * first + cross;
        w01 = first - cross;
        w11 = cross;
    }
};

// One channel value of the relief.
inline uint8_t EmbossSample(int p00, int p01, int p10, int p11, int own, const EmbossWeights& w) {
    const int m = p00 * w.w00 + (p01 + p10) * w.w01 + p11 * w.w11;
    const int sample = std::clamp(m >> 14, 0, 255);
    return ClampByte(sample - own + 128);
}

// The inner columns of a line: straight runs of bytes (a, b: the sample lines from the first inner
// column's sample on). The output never overlaps the input, which lets the compiler vectorise.
void EmbossInner(const uint8_t* __restrict a, const uint8_t* __restrict b, const uint8_t* __restrict own,
                 uint8_t* __restrict out, size_t count, const EmbossWeights& w) {
    for (size_t i = 0; i < count; ++i)
        out[i] = EmbossSample(a[i], a[i + 3], b[i], b[i + 3], own[i], w);
}

// The same for a fraction of 0..127 (the strengths 0 and up): every weight is then positive and fits
// in 16 bits, and the sample needs no bounding (the weights add up to 16384), so eight bytes are
// done at once with 16-bit multiply-adds where the processor has them.
void EmbossInnerPositive(const uint8_t* __restrict a, const uint8_t* __restrict b, const uint8_t* __restrict own,
                         uint8_t* __restrict out, size_t count, const EmbossWeights& w) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i cornerAndSides = _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(w.w01) << 16) | w.w00));
    const __m128i farCorner = _mm_set1_epi32(w.w11);
    const __m128i middle = _mm_set1_epi16(128);
    auto load8 = [&](const uint8_t* p) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
    };
    for (; i + 8 <= count; i += 8) {
        const __m128i p00 = load8(a + i);
        const __m128i sides = _mm_add_epi16(load8(a + i + 3), load8(b + i));
        const __m128i p11 = load8(b + i + 3);
        const __m128i low = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(p00, sides), cornerAndSides),
                                          _mm_madd_epi16(_mm_unpacklo_epi16(p11, zero), farCorner));
        const __m128i high = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(p00, sides), cornerAndSides),
                                           _mm_madd_epi16(_mm_unpackhi_epi16(p11, zero), farCorner));
        const __m128i sample = _mm_packs_epi32(_mm_srai_epi32(low, 14), _mm_srai_epi32(high, 14));
        const __m128i relief = _mm_add_epi16(_mm_sub_epi16(sample, load8(own + i)), middle);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(relief, relief));
    }
#endif
    for (; i < count; ++i)
        out[i] = EmbossSample(a[i], a[i + 3], b[i], b[i + 3], own[i], w);
}

}  // namespace

bool EmbossFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                 const EmbossParams& params) {
    if (!src || !dst || !IsEffectLayout(layout))
        return false;
    const int lines = qel::imaging::RowCount(layout);
    const int64_t offset = params.offset;
    // Columns whose samples x + offset and x + offset + 1 both lie on the picture need no clamping.
    const int innerBegin = static_cast<int>(std::clamp<int64_t>(-offset, 0, layout.width));
    const int innerEnd =
        static_cast<int>(std::clamp<int64_t>(layout.width - 1 - offset, innerBegin, layout.width));
    const EmbossWeights weights(params.fraction);
    for (int line = 0; line < lines; ++line) {
        const uint8_t* row0 = src + PictureLineOffset(layout, ClampIndex(line + offset, lines - 1));
        const uint8_t* row1 = src + PictureLineOffset(layout, ClampIndex(line + offset + 1, lines - 1));
        const uint8_t* in = src + PictureLineOffset(layout, line);
        uint8_t* out = dst + PictureLineOffset(layout, line);
        auto clampedColumns = [&](int from, int to) {
            for (int x = from; x < to; ++x) {
                const size_t c0 =
                    static_cast<size_t>(ClampIndex(x + offset, layout.width - 1)) * kEffectBytesPerPixel;
                const size_t c1 =
                    static_cast<size_t>(ClampIndex(x + offset + 1, layout.width - 1)) * kEffectBytesPerPixel;
                for (int k = 0; k < 3; ++k) {
                    out[3 * x + k] = EmbossSample(row0[c0 + k], row0[c1 + k], row1[c0 + k], row1[c1 + k], in[3 * x + k],
                                                  weights);
                }
            }
        };
        clampedColumns(0, innerBegin);
        const size_t shift = static_cast<size_t>(static_cast<int64_t>(innerBegin) + offset) * kEffectBytesPerPixel;
        const size_t first = static_cast<size_t>(innerBegin) * kEffectBytesPerPixel;
        const size_t count = static_cast<size_t>(innerEnd - innerBegin) * kEffectBytesPerPixel;
        if (params.fraction >= 0 && params.fraction < 128)
            EmbossInnerPositive(row0 + shift, row1 + shift, in + first, out + first, count, weights);
        else
            EmbossInner(row0 + shift, row1 + shift, in + first, out + first, count, weights);
        clampedColumns(innerEnd, layout.width);
    }
    return true;
}

void CEmbossEffect::SetStrength(int strength) {
    CEffect::SetStrength(strength);
    params_ = EmbossParamsForStrength(strength);
}

int CEmbossEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return EmbossFrame(src, dst, Layout(), params_) ? 1 : 0;
}
