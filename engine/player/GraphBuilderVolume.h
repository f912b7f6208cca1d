#pragma once
// The player's volume scale: percent 0..100 to IBasicAudio's hundredths of a decibel (-10000..0).
#include <cmath>

// x = 100 * percent (1 for 0); volume = -10000 - trunc(-1000 * ln x), never above 0.
// 0 gives -10000, 1 gives -5395, 10 gives -3093, 50 gives -1483, 100 gives -790.
inline long PlayerVolumeForPercent(unsigned long percent) {
    const double x = percent == 0 ? 1.0 : 100.0 * static_cast<double>(percent);
    const long volume = -10000 - static_cast<long>(-1000.0 * std::log(x));
    return volume > 0 ? 0 : volume;
}
