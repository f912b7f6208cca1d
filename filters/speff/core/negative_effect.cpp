#include "core/negative_effect.h"

bool NegativeFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride) {
    FrameGeometry g;
    if (!src || !dst || !FrameGeometry::Make(width, height, kEffectBytesPerPixel, stride, &g))
        return false;
    const int rowBytes = g.width * kEffectBytesPerPixel;
    for (int line = 0; line < g.lines; ++line) {
        const uint8_t* in = src + g.LineOffset(line);
        uint8_t* out = dst + g.LineOffset(line);
        for (int i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uint8_t>(255 - in[i]);
    }
    return true;
}

int CNegativeEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return NegativeFrame(src, dst, Width(), Height(), Stride()) ? 1 : 0;
}
