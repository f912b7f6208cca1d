#include "core/stamp_paint.h"

#include <cstddef>

bool PaintStampMask(uint8_t* frame, const qel::imaging::PixelLayout& layout, const uint8_t* mask,
                    int maskWidth, int maskHeight, int maskStride, StampPoint place, StampColour colour) {
    if (!frame || !mask || !qel::imaging::IsValidLayout(layout) || layout.channels != 3 ||
        maskStride < maskWidth)
        return false;
    const int width = layout.width;
    const int height = layout.height;
    const int stride = layout.stride;
    const int rows = qel::imaging::RowCount(layout);
    const StampClip clip = ClipStampBox(place, maskWidth, maskHeight, width, rows);
    if (!clip.visible)
        return true;
    for (int i = 0; i < clip.height; ++i) {
        const int pictureRow = clip.y + i;
        const int bufferRow = height > 0 ? rows - 1 - pictureRow : pictureRow;
        uint8_t* pixel = frame + static_cast<ptrdiff_t>(bufferRow) * stride + static_cast<ptrdiff_t>(clip.x) * 3;
        const uint8_t* coverage = mask + static_cast<ptrdiff_t>(clip.maskY + i) * maskStride + clip.maskX;
        for (int j = 0; j < clip.width; ++j, pixel += 3) {
            if (coverage[j]) {
                pixel[0] = colour.blue;
                pixel[1] = colour.green;
                pixel[2] = colour.red;
            }
        }
    }
    return true;
}

bool PaintStampMask(uint8_t* frame, const qel::imaging::PixelLayout& layout, const StampMask& mask,
                    StampPoint place, StampColour colour) {
    if (mask.empty() || mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height))
        return false;
    return PaintStampMask(frame, layout, mask.coverage.data(), mask.width, mask.height, mask.width, place,
                          colour);
}
