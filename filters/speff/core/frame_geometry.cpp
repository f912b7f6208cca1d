#include "core/frame_geometry.h"

#include <climits>
#include <cstdint>

bool FrameGeometry::Make(int width, int height, int bytesPerPixel, int stride, FrameGeometry* out) {
    if (!out || bytesPerPixel != kEffectBytesPerPixel || width <= 0 || height == 0 || height == INT_MIN)
        return false;
    const int64_t rowBytes = static_cast<int64_t>(width) * kEffectBytesPerPixel;
    if (stride <= 0 || stride < rowBytes)
        return false;
    const int lines = height < 0 ? -height : height;
    // Pixel counts and byte offsets are computed in size_t and ptrdiff_t; keep both in range.
    const uint64_t frameBytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(lines);
    if (frameBytes > static_cast<uint64_t>(PTRDIFF_MAX) / 2)
        return false;
    out->width = width;
    out->lines = lines;
    out->stride = stride;
    out->topDown = height < 0;
    return true;
}
