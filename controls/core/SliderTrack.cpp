#include "SliderTrack.h"

namespace qel_controls {

SliderRange NormalRange(int min, int max) {
    if (min >= max)
        max = min + 1;
    return {min, max};
}

float UnitOf(int trackWidth, int span) {
    if (trackWidth <= 0 || span <= 0)
        return 0.0f;
    return static_cast<float>(trackWidth) / static_cast<float>(span);
}

bool CentreForPos(const SliderTrack& track, int pos, int* centre) {
    if (track.span == 0)
        return false;
    *centre = track.left + track.Width() * (pos - track.min) / track.span;
    return true;
}

int PosForCentre(const SliderTrack& track, int centre) {
    const int d = centre - track.left;
    const int width = track.Width();
    if (d <= 0 || width <= 0)
        return track.min;
    if (d > width)
        return track.min + track.span;
    return track.min + static_cast<int>(static_cast<double>(d) * track.span / width + 0.5);
}

int SnappedThumbLeft(const SliderTrack& track, int pointX) {
    int steps = 0;
    if (track.unit > 0.0f)
        steps = static_cast<int>((pointX - track.left) / track.unit + 0.5f);
    if (steps >= track.span && track.span > 0)
        return track.right - track.halfThumb;
    if (steps > 0)
        return static_cast<int>(track.left + steps * track.unit - track.halfThumb);
    return track.left - track.halfThumb;
}

bool AdjustThumb(const SliderTrack& track, int thumbLeft, int thumbWidth, int lastX, int pointX, int* newLeft) {
    const int half = thumbWidth / 2;
    int candidate = thumbLeft + (pointX - lastX);
    const int c0 = thumbLeft + half;
    const int c1 = candidate + half;
    if (c1 < track.left && c0 > track.left)
        candidate = track.left - half;
    else if (c1 > track.right && c0 < track.right)
        candidate = track.right - half;
    else if (c1 < track.left || c1 > track.right)
        return false;
    else
        candidate = SnappedThumbLeft(track, pointX);
    if (candidate == thumbLeft)
        return false;
    *newLeft = candidate;
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
