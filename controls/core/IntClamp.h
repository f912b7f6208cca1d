#pragma once
// Skin numbers reach the controls' geometry unchecked: sums and products are taken in 64 bits and the
// results pinned to the int range here.
#include <climits>

namespace qel_controls {

inline int ClampToInt(long long value) {
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace qel_controls
