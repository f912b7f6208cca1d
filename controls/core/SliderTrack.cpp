#include "SliderTrack.h"
#include "IntClamp.h"

#include <climits>

namespace qel_controls {
namespace {

// Truncates toward zero like a cast, but pins values beyond the int range at its ends.
int TruncateToInt(float value) {
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

SliderRange NormalRange(int min, int max) {
    if (min >= max) {
        if (min == INT_MAX)
            min = INT_MAX - 1;
        max = min + 1;
    }
    if (static_cast<long long>(max) - min > INT_MAX)
        max = min + INT_MAX; // min is negative here, so this stays in range
    return {min, max};
}

float UnitOf(long long trackWidth, int span) {
    if (trackWidth <= 0 || span <= 0)
        return 0.0f;
    return static_cast<float>(trackWidth) / static_cast<float>(span);
}

bool CentreForPos(const SliderTrack& track, int pos, int* centre) {
    if (track.span <= 0)
        return false;
    // Within the range the product is below 2^32 x 2^31: it fits 64 bits.
    long long steps = static_cast<long long>(pos) - track.min;
    if (steps < 0)
        steps = 0;
    if (steps > track.span)
        steps = track.span;
    *centre = ClampToInt(track.left + track.Width() * steps / track.span);
    return true;
}

int PosForCentre(const SliderTrack& track, int centre) {
    const long long d = static_cast<long long>(centre) - track.left;
    const long long width = track.Width();
    const long long max = static_cast<long long>(track.min) + track.span;
    if (d <= 0 || width <= 0)
        return track.min;
    if (d > width)
        return ClampToInt(max);
    const long long pos = track.min + static_cast<long long>(static_cast<double>(d) * track.span / width + 0.5);
    return ClampToInt(pos < max ? pos : max);
}

int SnappedThumbLeft(const SliderTrack& track, int pointX) {
    int steps = 0;
    if (track.unit > 0.0f)
        steps = TruncateToInt(static_cast<float>(static_cast<long long>(pointX) - track.left) / track.unit + 0.5f);
    if (steps >= track.span && track.span > 0)
        return ClampToInt(static_cast<long long>(track.right) - track.halfThumb);
    if (steps > 0)
        return TruncateToInt(track.left + steps * track.unit - track.halfThumb);
    return ClampToInt(static_cast<long long>(track.left) - track.halfThumb);
}

bool AdjustThumb(const SliderTrack& track, int thumbLeft, int thumbWidth, int lastX, int pointX, int* newLeft) {
    const long long half = thumbWidth / 2;
    long long candidate = static_cast<long long>(thumbLeft) + (static_cast<long long>(pointX) - lastX);
    const long long c0 = thumbLeft + half;
    const long long c1 = candidate + half;
    if (c1 < track.left && c0 > track.left)
        candidate = track.left - half;
    else if (c1 > track.right && c0 < track.right)
        candidate = track.right - half;
    else if (c1 < track.left || c1 > track.right)
        return false;
    else
        candidate = SnappedThumbLeft(track, pointX);
    const int placed = ClampToInt(candidate);
    if (placed == thumbLeft)
        return false;
    *newLeft = placed;
    return true;
}

int PageDirection(int thumbLeft, int thumbRight, int pointX) {
    if (pointX > thumbRight)
        return 1;
    if (pointX < thumbLeft)
        return -1;
    return 0;
}

int PagedPos(int pos, int direction, int step, int min, int max) {
    long long next = static_cast<long long>(pos) + static_cast<long long>(direction) * step;
    if (next < min)
        next = min;
    if (next > max)
        next = max;
    return static_cast<int>(next);
}

} // namespace qel_controls
