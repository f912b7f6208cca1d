#include "ThumbnailFit.h"

namespace qel_controls {

bool ThumbnailFit(int imageWidth, int imageHeight, int boxWidth, int boxHeight, FitSize& fit) {
    if (imageWidth <= 0 || imageHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return false;
    if (imageWidth < boxWidth && imageHeight < boxHeight) {
        fit = {imageWidth, imageHeight};
        return true;
    }
    const double sx = static_cast<double>(boxWidth) / imageWidth;
    const double sy = static_cast<double>(boxHeight) / imageHeight;
    if (sx >= sy)
        fit = {static_cast<int>(imageWidth * sy), boxHeight};
    else
        fit = {boxWidth, static_cast<int>(imageHeight * sx)};
    return true;
}

} // namespace qel_controls
