#include "effects/emboss_effect.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

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

}  // namespace

bool EmbossFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride, const EmbossParams& params) {
    FrameGeometry g;
    if (!src || !dst || !FrameGeometry::Make(width, height, kEffectBytesPerPixel, stride, &g))
        return false;
    std::vector<size_t> column0, column1;
    try {
        column0.resize(static_cast<size_t>(g.width));
        column1.resize(static_cast<size_t>(g.width));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int64_t offset = params.offset;
    for (int x = 0; x < g.width; ++x) {
        column0[x] = static_cast<size_t>(ClampIndex(x + offset, g.width - 1)) * kEffectBytesPerPixel;
        column1[x] = static_cast<size_t>(ClampIndex(x + offset + 1, g.width - 1)) * kEffectBytesPerPixel;
    }
    const int weight1 = params.fraction * 128;             // for the first-order terms
    const int weight2 = params.fraction * params.fraction;  // for the cross term
    for (int line = 0; line < g.lines; ++line) {
        const uint8_t* row0 = src + g.LineOffset(ClampIndex(line + offset, g.lines - 1));
        const uint8_t* row1 = src + g.LineOffset(ClampIndex(line + offset + 1, g.lines - 1));
        const uint8_t* in = src + g.LineOffset(line);
        uint8_t* out = dst + g.LineOffset(line);
        for (int x = 0; x < g.width; ++x) {
            for (int k = 0; k < 3; ++k) {
                const int p00 = row0[column0[x] + k];
                const int p01 = row0[column1[x] + k];
                const int p10 = row1[column0[x] + k];
                const int p11 = row1[column1[x] + k];
                const int m = (p10 + p01 - 2 * p00) * weight1 + (p11 + p00 - p10 - p01) * weight2 + p00 * 16384;
                const int sample = std::clamp(m >> 14, 0, 255);
                out[3 * x + k] = ClampByte(sample - in[3 * x + k] + 128);
            }
        }
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
    return EmbossFrame(src, dst, Width(), Height(), Stride(), params_) ? 1 : 0;
}
