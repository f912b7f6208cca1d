#include "core/contrast_brightness_frame.h"

#include "qelimaging/auto_levels.h"

using namespace qel::imaging;

void CContrastBrightnessFrame::SetValues(int contrast, int brightness) {
    contrast_ = contrast;
    brightness_ = brightness;
    const int contrasts[3] = {contrast, contrast, contrast};
    const int brightnesses[3] = {brightness, brightness, brightness};
    InitLut(table_);
    BuildContrastBrightnessLut(table_, contrasts, brightnesses);
}

bool CContrastBrightnessFrame::Process(const uint8_t* src, uint8_t* dst, const PixelLayout& layout) const {
    if (!src || !dst || !ApplyLut(src, dst, layout, nullptr, table_))
        return false;
    CopyRowPadding(src, dst, layout);  // the routines write pixels only: the output is a whole frame
    return true;
}
