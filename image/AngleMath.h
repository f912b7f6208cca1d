#pragma once
// Angle normalisation into [0, 360) and rounding of rotated coordinates. Platform-neutral.
#include <cmath>

// A negative angle becomes its remainder by -360 plus 360, an angle of 360 or more its remainder by
// 360; a negative multiple of 360 comes out as 0 (the remainder formula alone would give 360).
inline float NormaliseAngle(float angle) {
    if (angle < 0) {
        angle = std::fmod(angle, -360.0f) + 360.0f;
        if (angle >= 360.0f)
            angle = 0.0f;
    } else if (angle >= 360.0f) {
        angle = std::fmod(angle, 360.0f);
    }
    return angle;
}

// Rounds half away from zero, as rotated corner coordinates are rounded.
inline long RoundHalfAway(float value) {
    return static_cast<long>(value < 0 ? std::ceil(value - 0.5f) : std::floor(value + 0.5f));
}
