#include "core/sepia_effect.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "qelimaging/sepia.h"

using namespace qel::imaging;

CSepiaEffect::CSepiaEffect() : CEffect(1), cube_(std::make_unique<ColourCube>()) {
    BuildSepiaCube(*cube_, AmountForStrength(0));
}

int CSepiaEffect::AmountForStrength(int strength) {
    return static_cast<int>(std::clamp<int64_t>(2 * static_cast<int64_t>(strength), INT_MIN, INT_MAX));
}

void CSepiaEffect::SetStrength(int strength) {
    std::unique_ptr<ColourCube> fresh(new (std::nothrow) ColourCube);
    if (!fresh)
        return;
    CEffect::SetStrength(strength);
    BuildSepiaCube(*fresh, AmountForStrength(strength));
    cube_.swap(fresh);
}

int CSepiaEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return ApplyCube(src, dst, Layout(), nullptr, *cube_) ? 1 : 0;
}
