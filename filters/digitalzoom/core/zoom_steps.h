// The five zoom steps offered to the user: the page's trackbar position is the index.
#pragma once

struct ZoomStep {
    int percent;
    double factor;
};

inline constexpr int kZoomStepCount = 5;
inline constexpr ZoomStep kZoomSteps[kZoomStepCount] = {
    {100, 1.0}, {150, 1.5}, {200, 2.0}, {250, 2.5}, {300, 3.0}};

// Index of the step with this percent, or -1 when the percent is none of the steps.
int ZoomStepIndexForPercent(int percent);

// Percent of a step index; indexes outside 0..4 give 100 (no zoom).
int ZoomStepPercent(int index);
