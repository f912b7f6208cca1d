#pragma once
// The size a picture is previewed at in a box: its own size when it is smaller on both axes, else
// shrunk to the box keeping its proportions. A picture without width or height has no preview size.
namespace qel_controls {

struct FitSize {
    int width = 0;
    int height = 0;
};

// false when the picture or the box has no area (nothing to show, nothing to divide by).
bool ThumbnailFit(int imageWidth, int imageHeight, int boxWidth, int boxHeight, FitSize& fit);

} // namespace qel_controls
