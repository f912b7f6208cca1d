#include "core/spotlight_effect.h"

#include <array>

#include "core/light_mask.h"

namespace {

using LightTable = std::array<std::array<uint8_t, 256>, 256>;  // [light][channel value]

LightTable ComputeLightTable() {
    LightTable table{};
    for (int b = 0; b < 256; ++b) {
        for (int a = 0; a < 256; ++a)
            table[b][a] = static_cast<uint8_t>((a * 25 * (255 - b) + (65025 - (255 - a) * (255 - a)) * b) >> 16);
    }
    return table;
}

const LightTable& Lighting() {
    static const LightTable table = ComputeLightTable();
    return table;
}

}  // namespace

bool SpotlightFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                    const uint8_t* mask) {
    if (!src || !dst || !mask || !IsEffectLayout(layout))
        return false;
    const int lines = qel::imaging::RowCount(layout);
    const LightTable& lighting = Lighting();
    for (int line = 0; line < lines; ++line) {
        const uint8_t* in = src + PictureLineOffset(layout, line);
        uint8_t* out = dst + PictureLineOffset(layout, line);
        const uint8_t* light = mask + static_cast<size_t>(line) * static_cast<size_t>(layout.width);
        for (int x = 0; x < layout.width; ++x, in += 3, out += 3) {
            const std::array<uint8_t, 256>& lit = lighting[light[x]];
            out[0] = lit[in[0]];
            out[1] = lit[in[1]];
            out[2] = lit[in[2]];
        }
    }
    return true;
}

bool CSpotlightEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    if (!CEffect::Init(width, height, bytesPerPixel, bitsPerChannel, stride, byteOrder))
        return false;
    // A mask that cannot be allocated stays empty: frames are then copied.
    mask_ = ResampleLightMask(Layout().width, qel::imaging::RowCount(Layout()));
    return true;
}

void CSpotlightEffect::Reset() {
    CEffect::Reset();
    std::vector<uint8_t>().swap(mask_);
}

int CSpotlightEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    if (mask_.empty())
        return CopyFrame(src, dst);
    return SpotlightFrame(src, dst, Layout(), mask_.data()) ? 1 : 0;
}
