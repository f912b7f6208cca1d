#include "core/sepia_effect.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "qelimaging/sepia.h"

using namespace qel::imaging;

CSepiaEffect::CSepiaEffect()
    : CEffect(1), cube_(std::make_unique<ColourCube>()), cells_(std::make_unique<CubeCells>()) {
    BuildSepiaCube(*cube_, AmountForStrength(0));
    BuildCubeCells(*cube_, *cells_);
}

int CSepiaEffect::AmountForStrength(int strength) {
    return static_cast<int>(std::clamp<int64_t>(2 * static_cast<int64_t>(strength), INT_MIN, INT_MAX));
}

void CSepiaEffect::SetStrength(int strength) {
    std::unique_ptr<ColourCube> fresh(new (std::nothrow) ColourCube);
    std::unique_ptr<CubeCells> freshCells(new (std::nothrow) CubeCells);
    if (!fresh || !freshCells)
        return;
    CEffect::SetStrength(strength);
    BuildSepiaCube(*fresh, AmountForStrength(strength));
    BuildCubeCells(*fresh, *freshCells);
    cube_.swap(fresh);
    cells_.swap(freshCells);
}

int CSepiaEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    return ApplyCube(src, dst, Layout(), nullptr, *cube_, *cells_) ? 1 : 0;
}
