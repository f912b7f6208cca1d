#include "core/low_light_params.h"

#include <climits>
#include <cstdint>

int MapLowLightContrast(int k) {
    int64_t mapped;
    if (k < 50)
        mapped = 2 * static_cast<int64_t>(k);
    else if (k >= 90)
        mapped = 10 * static_cast<int64_t>(k) - 700;
    else
        mapped = (10 * static_cast<int64_t>(k) - 500) / 4 + 100;
    if (mapped > INT_MAX)
        return INT_MAX;
    if (mapped < INT_MIN)
        return INT_MIN;
    return static_cast<int>(mapped);
}

LowLightParams DeriveLowLightParams(int s) {
    LowLightParams params;
    if (s <= 25) {
        params.contrastBase = 50;
        params.gamma = 1.0f + 0.04f * static_cast<float>(s);
    } else if (s <= 50) {
        params.gamma = 2.0f;
        params.contrastBase = s * 4 / 5 + 30;
    } else if (s <= 75) {
        params.gamma = 2.0f;
        params.contrastBase = s * 2 / 5 + 50;
    } else if (s <= 90) {
        params.contrastBase = 80;
        params.gamma = 2.0f + 0.1f * static_cast<float>(s - 75);
    } else {
        params.gamma = 3.5f;
        params.contrastBase = s - 10;
    }
    params.contrastStrength = MapLowLightContrast(params.contrastBase);
    return params;
}
