#include "core/fish_eye_effect.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {

// sqrt(1 - q^2), with rounding just past the ends taken as the end.
double UnitCircle(double q) {
    return std::sqrt(std::max(0.0, 1.0 - q * q));
}

}  // namespace

bool BuildFishEyeMap(const qel::imaging::PixelLayout& layout, CSourceMap* map) {
    if (!map || !map->Reset(layout, true))
        return false;
    const int width = layout.width;
    const int lines = qel::imaging::RowCount(layout);
    if (width < 3 || lines < 3)
        return true;  // border only: all black
    const double cx = (width - 1) / 2.0;
    const double cy = (lines - 1) / 2.0;
    const int lift = lines >> 2;
    std::vector<double> arch, bulge;
    try {
        arch.resize(static_cast<size_t>(width));
        bulge.resize(static_cast<size_t>(lines));
    } catch (const std::bad_alloc&) {
        map->Clear();
        return false;
    }
    for (int x = 0; x < width; ++x)
        arch[x] = lift * UnitCircle((x - cx) / cx);
    for (int y = 0; y < lines; ++y)
        bulge[y] = UnitCircle((y - cy) / cy);

    for (int y = 1; y <= lines - 2; ++y) {
        for (int x = 1; x <= width - 2; ++x) {
            const double sy = y + lift - arch[x];
            if (sy < 0.0 || sy > lines - 1)
                continue;
            double sx;
            if (x >= cx)
                sx = bulge[y] == 0.0 ? width - 1 : cx + (x - cx) / bulge[y];
            else
                sx = bulge[y] == 0.0 ? 0.0 : cx - (cx - x) / bulge[y];
            map->TrySetSource(x, y, static_cast<float>(sx), static_cast<float>(sy));
        }
    }
    return true;
}

bool CFishEyeEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    if (!CEffect::Init(width, height, bytesPerPixel, bitsPerChannel, stride, byteOrder))
        return false;
    // A map that cannot be allocated stays empty: frames are then copied.
    if (!BuildFishEyeMap(Layout(), &map_))
        map_.Clear();
    return true;
}

void CFishEyeEffect::Reset() {
    CEffect::Reset();
    map_.Clear();
}

int CFishEyeEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    if (map_.Empty())
        return CopyFrame(src, dst);
    return RemapFrame(src, dst, Layout(), map_) ? 1 : 0;
}
