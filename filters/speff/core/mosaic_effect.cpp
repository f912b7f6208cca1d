#include "core/mosaic_effect.h"

#include <algorithm>
#include <cstdint>

int MosaicBlockSize(int strength) {
    return std::clamp(strength, 2, 16);
}

bool MosaicFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout, int blockSize) {
    if (!src || !dst || blockSize < 1 || !IsEffectLayout(layout))
        return false;
    const int lines = qel::imaging::RowCount(layout);
    for (int top = 0; top < lines; top += blockSize) {
        const int blockLines = std::min(blockSize, lines - top);
        for (int left = 0; left < layout.width; left += blockSize) {
            const int blockColumns = std::min(blockSize, layout.width - left);
            const size_t first = static_cast<size_t>(left) * kEffectBytesPerPixel;
            const size_t bytes = static_cast<size_t>(blockColumns) * kEffectBytesPerPixel;
            uint32_t sum[3] = {0, 0, 0};
            for (int line = top; line < top + blockLines; ++line) {
                const uint8_t* in = src + PictureLineOffset(layout, line) + first;
                for (size_t i = 0; i < bytes; i += 3) {
                    sum[0] += in[i];
                    sum[1] += in[i + 1];
                    sum[2] += in[i + 2];
                }
            }
            const uint32_t count = static_cast<uint32_t>(blockLines * blockColumns);
            const uint8_t mean[3] = {static_cast<uint8_t>(sum[0] / count), static_cast<uint8_t>(sum[1] / count),
                                     static_cast<uint8_t>(sum[2] / count)};
            for (int line = top; line < top + blockLines; ++line) {
                uint8_t* out = dst + PictureLineOffset(layout, line) + first;
                for (size_t i = 0; i < bytes; i += 3) {
                    out[i] = mean[0];
                    out[i + 1] = mean[1];
                    out[i + 2] = mean[2];
                }
            }
        }
    }
    return true;
}

void CMosaicEffect::SetStrength(int strength) {
    CEffect::SetStrength(strength);
    blockSize_ = MosaicBlockSize(strength);
}

int CMosaicEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return MosaicFrame(src, dst, Layout(), blockSize_) ? 1 : 0;
}
