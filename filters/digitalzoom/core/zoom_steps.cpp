#include "core/zoom_steps.h"

int ZoomStepIndexForPercent(int percent) {
    for (int i = 0; i < kZoomStepCount; ++i)
        if (kZoomSteps[i].percent == percent)
            return i;
    return -1;
}

int ZoomStepPercent(int index) {
    if (index < 0 || index >= kZoomStepCount)
        return kZoomSteps[0].percent;
    return kZoomSteps[index].percent;
}
