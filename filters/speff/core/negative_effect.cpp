#include "core/negative_effect.h"

bool NegativeFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout) {
    if (!src || !dst || !IsEffectLayout(layout))
        return false;
    const int lines = qel::imaging::RowCount(layout);
    const int rowBytes = layout.width * kEffectBytesPerPixel;
    for (int line = 0; line < lines; ++line) {
        const uint8_t* in = src + PictureLineOffset(layout, line);
        uint8_t* out = dst + PictureLineOffset(layout, line);
        for (int i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uint8_t>(255 - in[i]);
    }
    return true;
}

int CNegativeEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return NegativeFrame(src, dst, Layout()) ? 1 : 0;
}
