#include "core/snow_effect.h"

#include <algorithm>

using namespace qel::imaging;

bool CSnowEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    if (!CEffect::Init(width, height, bytesPerPixel, bitsPerChannel, stride, byteOrder))
        return false;
    BuildLayers();
    return true;
}

void CSnowEffect::Reset() {
    CEffect::Reset();
    layers_ = {};
    built_ = false;
}

void CSnowEffect::SetStrength(int strength) {
    const bool changed = std::clamp(strength, 0, 100) != std::clamp(Strength(), 0, 100);
    CEffect::SetStrength(strength);
    if (changed && IsInitialised())
        BuildLayers();
}

bool CSnowEffect::BuildLayers() {
    built_ = false;
    const int density = std::clamp(Strength(), 0, 100);
    if (density == 0)
        return true;  // frames are copied; nothing to build
    for (SnowFlakes& layer : layers_) {
        if (!BuildSnowFlakes(Layout().width, qel::imaging::RowCount(Layout()), density, random_, layer)) {
            layers_ = {};
            return false;
        }
    }
    built_ = true;
    return true;
}

int CSnowEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    if (std::clamp(Strength(), 0, 100) == 0 || !built_)
        return CopyFrame(src, dst);
    last_ = (last_ + 1 + random_.Next() % (kLayers - 1)) % kLayers;
    return ApplySnowFlakes(src, dst, Layout(), layers_[last_]) ? 1 : 0;
}
