#include "EnhanceRecord.h"

#include "CaptureController.h"

void ReapplyChangedEnhance(const EnhanceRecord& kept, const EnhanceRecord& working, CCaptureController& capture) {
    // Each enhancement whose switch or level moved, whether or not the Auto group was switched: a level
    // dragged while Auto stayed on changes the picture too.
    using Setter = void (CCaptureController::*)(int, int);
    const Setter setters[kAutoKinds] = {&CCaptureController::SetEnhance, &CCaptureController::SetTone,
                                        &CCaptureController::SetLowLight, &CCaptureController::SetWhiteBoard};
    for (int k = 0; k < kAutoKinds; ++k)
        if (kept.chosen[k] != working.chosen[k] || kept.level[k] != working.level[k])
            (capture.*setters[k])(kept.chosen[k], kept.level[k]);
    const bool zoomDiffers = kept.zoomOn != working.zoomOn || kept.zoomStep != working.zoomStep;
    if (kept.manualOn != working.manualOn || kept.brightness != working.brightness ||
        kept.contrast != working.contrast)
        capture.SetContrastBrightness(kept.manualOn, kept.brightness, kept.contrast);
    if (zoomDiffers)
        capture.SetDigitalZoom(kept.zoomOn, kept.zoomStep);
}
