#include "core/black_white_effect.h"

bool BlackWhiteFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout) {
    if (!src || !dst || !IsEffectLayout(layout))
        return false;
    const int lines = qel::imaging::RowCount(layout);
    // Offsets of red and blue within a pixel; green is always in the middle.
    const int red = qel::imaging::RedIndex(layout);
    const int blue = 2 - red;
    for (int line = 0; line < lines; ++line) {
        const uint8_t* in = src + PictureLineOffset(layout, line);
        uint8_t* out = dst + PictureLineOffset(layout, line);
        for (int x = 0; x < layout.width; ++x, in += 3, out += 3) {
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
    return BlackWhiteFrame(src, dst, Layout()) ? 1 : 0;
}
