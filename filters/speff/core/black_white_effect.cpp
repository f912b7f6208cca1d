#include "core/black_white_effect.h"

bool BlackWhiteFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride, int byteOrder) {
    FrameGeometry g;
    if (!src || !dst || !FrameGeometry::Make(width, height, kEffectBytesPerPixel, stride, &g))
        return false;
    // Offsets of red and blue within a pixel; green is always in the middle.
    const int red = byteOrder == kByteOrderRgb ? 0 : 2;
    const int blue = 2 - red;
    for (int line = 0; line < g.lines; ++line) {
        const uint8_t* in = src + g.LineOffset(line);
        uint8_t* out = dst + g.LineOffset(line);
        for (int x = 0; x < g.width; ++x, in += 3, out += 3) {
            const uint8_t grey = static_cast<uint8_t>((306 * in[red] + 601 * in[1] + 117 * in[blue]) >> 10);
            out[0] = grey;
            out[1] = grey;
            out[2] = grey;
        }
    }
    return true;
}

int CBlackWhiteEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return BlackWhiteFrame(src, dst, Width(), Height(), Stride(), ByteOrder()) ? 1 : 0;
}
