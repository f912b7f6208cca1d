#include "ScrollRules.h"
#include "IntClamp.h"

namespace qel_controls {

int ScrolledPosition(int pos, int code, int thumb, int scrollMax, int page) {
    if (scrollMax <= 0)
        return pos; // the view fits: a stray scroll message must not move it off its place
    const int max = ClampToInt(static_cast<long long>(scrollMax) - page + 1);
    switch (code) {
    case kLineLeft:
        return pos > 0 ? pos - 1 : pos;
    case kLineRight:
        return pos < max ? pos + 1 : pos;
    case kPageLeft: {
        const long long next = static_cast<long long>(pos) - page;
        return next < 0 ? 0 : ClampToInt(next);
    }
    case kPageRight: {
        const long long next = static_cast<long long>(pos) + page;
        return next > max ? max : ClampToInt(next);
    }
    case kThumbPosition:
    case kThumbTrack:
        return thumb;
    case kLeft:
        return 0;
    case kRight:
        return max;
    default:
        return pos;
    }
}

int RescrolledPosition(int pos, int oldMax, int viewExtent, int visible, bool keepRelative) {
    // Every term is below 2^33 in size and each product has one factor below 2^32: 64 bits hold them.
    const long long newMax = static_cast<long long>(viewExtent) - 1;
    long long next = 0;
    if (keepRelative)
        next = oldMax == 0 ? (newMax - visible) / 2
                           : (static_cast<long long>(pos) + visible / 2) * newMax / oldMax - visible / 2;
    else
        next = oldMax == 0 ? 0 : pos;
    const long long limit = newMax - visible;
    if (next > limit)
        next = limit;
    if (next < 0)
        next = 0;
    return ClampToInt(next);
}

} // namespace qel_controls
