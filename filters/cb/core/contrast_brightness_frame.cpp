#include "core/contrast_brightness_frame.h"

#include "qelimaging/auto_levels.h"

#include <cstring>

using namespace qel::imaging;

namespace {

// The table is applied to pixels only; the bytes after them in each row come from the input, so
// that the output is a whole frame.
void CopyRowPadding(const uint8_t* src, uint8_t* dst, const PixelLayout& layout) {
    const size_t pixels = static_cast<size_t>(layout.width) * 3;
    const size_t padding = static_cast<size_t>(layout.stride) - pixels;
    for (int row = 0; padding > 0 && row < RowCount(layout); ++row) {
        const size_t offset = static_cast<size_t>(row) * static_cast<size_t>(layout.stride) + pixels;
        std::memcpy(dst + offset, src + offset, padding);
    }
}

}  // namespace

void CContrastBrightnessFrame::SetValues(int contrast, int brightness) {
    contrast_ = contrast;
    brightness_ = brightness;
    const int contrasts[3] = {contrast, contrast, contrast};
    const int brightnesses[3] = {brightness, brightness, brightness};
    InitLut(table_);
    BuildContrastBrightnessLut(table_, contrasts, brightnesses);
}

bool CContrastBrightnessFrame::Process(const uint8_t* src, uint8_t* dst, int width, int height, int stride) const {
    PixelLayout layout;
    layout.width = width;
    layout.height = height;
    layout.stride = stride;
    layout.channels = 3;
    layout.order = ByteOrder::BGR;
    if (!src || !dst || !ApplyLut(src, dst, layout, nullptr, table_))
        return false;
    CopyRowPadding(src, dst, layout);
    return true;
}
