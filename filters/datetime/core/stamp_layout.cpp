#include "core/stamp_layout.h"

#include <algorithm>

StampPoint PlaceStampBox(const StampLayout& layout, int frameWidth, int frameHeight, int boxWidth, int boxHeight) {
    if (layout.alignment < kStampTopLeft || layout.alignment > kStampBottomRight)
        return layout.start;
    const int column = (layout.alignment - 1) % 3;  // 0 left, 1 centre, 2 right
    const int row = (layout.alignment - 1) / 3;     // 0 top, 1 centre, 2 bottom
    const int xs[3] = {layout.paddingX, (frameWidth - boxWidth) / 2, frameWidth - boxWidth - layout.paddingX};
    const int ys[3] = {layout.paddingY, (frameHeight - boxHeight) / 2, frameHeight - boxHeight - layout.paddingY};
    return StampPoint{xs[column], ys[row]};
}

StampClip ClipStampBox(StampPoint place, int boxWidth, int boxHeight, int frameWidth, int frameHeight) {
    StampClip clip;
    // 64-bit ends: a far-off start position must not overflow.
    const long long right = std::min<long long>(static_cast<long long>(place.x) + boxWidth, frameWidth);
    const long long bottom = std::min<long long>(static_cast<long long>(place.y) + boxHeight, frameHeight);
    const int left = std::max(place.x, 0);
    const int top = std::max(place.y, 0);
    if (boxWidth <= 0 || boxHeight <= 0 || right <= left || bottom <= top)
        return clip;
    clip.visible = true;
    clip.x = left;
    clip.y = top;
    clip.width = static_cast<int>(right - left);
    clip.height = static_cast<int>(bottom - top);
    clip.maskX = left - place.x;
    clip.maskY = top - place.y;
    return clip;
}
