#include "core/low_light_frame.h"

#include "qelimaging/auto_levels.h"

using namespace qel::imaging;

void CLowLightFrame::SetStrength(int strength) {
    params_ = DeriveLowLightParams(strength);
    const float gammas[3] = {params_.gamma, params_.gamma, params_.gamma};
    InitLut(gamma_);
    BuildGammaLut(gamma_, gammas);
}

bool CLowLightFrame::Process(const uint8_t* src, uint8_t* dst, const PixelLayout& layout) {
    int high[3], low[3];
    if (!src || !dst || !AutoLevelsPoints(src, layout, nullptr, high, low))
        return false;
    InitLut(working_);
    BuildLevelsLut(working_, high, low);
    ComposeLut(working_, gamma_);  // the gamma curve after the levels stretch
    if (params_.contrastStrength != 0) {
        // The contrast is measured on the frame as the levels and gamma leave it, then folded into the
        // same table: one pass over the pixels gives what a second pass over the output would.
        Lut contrast = MakeIdentityLut(3);
        if (!BuildAutoContrastLutThrough(src, layout, nullptr, working_, params_.contrastStrength, contrast))
            return false;
        ComposeLut(working_, contrast);
    }
    if (!ApplyLut(src, dst, layout, nullptr, working_))
        return false;
    CopyRowPadding(src, dst, layout);  // the routines write pixels only: the output is a whole frame
    return true;
}
