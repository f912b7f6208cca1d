#include "core/swirl_effect.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519444445;
constexpr double kTurnsPerRadian = 0.15915494309644432;
constexpr double kRadiansPerTurn = 6.283185307;

// The source of a point turned by t radians, brought into one turn first: -t for a positive t.
double ReducedRotation(double t) {
    if (t > 0.0) {
        const double turns = std::trunc(t * kTurnsPerRadian);
        return (turns + 1.0) * kRadiansPerTurn - t;
    }
    const double turns = std::trunc(-t * kTurnsPerRadian);
    return -(t + (turns + 1.0) * kRadiansPerTurn);
}

}  // namespace

int SwirlAngleForStrength(int strength) {
    return std::clamp(strength, -100, 100) * 180 / 100;
}

bool BuildSwirlMap(const qel::imaging::PixelLayout& layout, int angleDegrees, CSourceMap* map) {
    if (!map || !map->Reset(layout, false))
        return false;
    const int width = layout.width;
    const int lines = qel::imaging::RowCount(layout);
    const int cx = width / 2;
    const int cy = lines / 2;
    for (int y = 0; y < lines; ++y) {
        const int dy = y - cy;
        const double ny = 2.0 * dy / lines;
        for (int x = 0; x < width; ++x) {
            const int dx = x - cx;
            const double nx = 2.0 * dx / width;
            const double r = std::sqrt(ny * ny + nx * nx);
            if (r > 1.0)
                continue;
            const double t = (1.0 - r) * (1.0 - r) * angleDegrees * kRadiansPerDegree;
            if (t == 0.0)
                continue;
            const float rotation = static_cast<float>(ReducedRotation(t));
            const float c = std::cos(rotation);
            const float s = std::sin(rotation);
            const float fdx = static_cast<float>(dx);
            const float fdy = static_cast<float>(dy);
            // A source off the picture leaves the pixel its own source.
            map->TrySetSource(x, y, fdx * c - fdy * s + static_cast<float>(cx), fdy * c + fdx * s + static_cast<float>(cy));
        }
    }
    return true;
}

bool CSwirlEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    if (!CEffect::Init(width, height, bytesPerPixel, bitsPerChannel, stride, byteOrder))
        return false;
    RebuildMap();
    return true;
}

void CSwirlEffect::Reset() {
    CEffect::Reset();
    map_.Clear();
}

void CSwirlEffect::SetStrength(int strength) {
    const int bounded = std::clamp(strength, -100, 100);
    CEffect::SetStrength(bounded);
    const int angle = SwirlAngleForStrength(bounded);
    if (angle == angle_)
        return;
    angle_ = angle;
    RebuildMap();
}

void CSwirlEffect::RebuildMap() {
    map_.Clear();
    if (!IsInitialised() || angle_ == 0)
        return;
    // A map that cannot be allocated stays empty: frames are then copied.
    if (!BuildSwirlMap(Layout(), angle_, &map_))
        map_.Clear();
}

int CSwirlEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    if (angle_ == 0 || map_.Empty())
        return CopyFrame(src, dst);
    return RemapFrame(src, dst, Layout(), map_) ? 1 : 0;
}
