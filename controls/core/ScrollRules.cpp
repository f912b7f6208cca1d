#include "ScrollRules.h"

namespace qel_controls {

int ScrolledPosition(int pos, int code, int thumb, int scrollMax, int page) {
    if (scrollMax <= 0)
        return pos; // the view fits: a stray scroll message must not move it off its place
    const int max = scrollMax - page + 1;
    switch (code) {
    case kLineLeft:
        return pos > 0 ? pos - 1 : pos;
    case kLineRight:
        return pos < max ? pos + 1 : pos;
    case kPageLeft:
        return pos - page < 0 ? 0 : pos - page;
    case kPageRight:
        return pos + page > max ? max : pos + page;
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
    const int newMax = viewExtent - 1;
    long long next = 0;
    if (keepRelative)
        next = oldMax == 0 ? (newMax - visible) / 2
                           : (static_cast<long long>(pos) + visible / 2) * newMax / oldMax - visible / 2;
    else
        next = oldMax == 0 ? 0 : pos;
    const int limit = newMax - visible;
    if (next > limit)
        next = limit;
    if (next < 0)
        next = 0;
    return static_cast<int>(next);
}

} // namespace qel_controls
