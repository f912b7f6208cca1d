#include "RectFit.h"

#include <algorithm>
#include <climits>

namespace qel::geometry {
namespace {

int32_t Clamp(int64_t value) {
    return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, std::max<int64_t>(INT32_MIN, value)));
}

int64_t Width(const Rect32& r) { return static_cast<int64_t>(r.right) - r.left; }
int64_t Height(const Rect32& r) { return static_cast<int64_t>(r.bottom) - r.top; }

// One axis of AlignRect: near and far edge of the placement against the container's far edge.
void AlignAxis(int32_t containerFar, int32_t nearEdge, int32_t farEdge, int32_t* outNear, int32_t* outFar) {
    const int64_t placedNear = nearEdge >= 0 ? nearEdge : static_cast<int64_t>(containerFar) + nearEdge;
    *outNear = Clamp(placedNear);
    if (farEdge >= 1)
        *outFar = Clamp(*outNear + (static_cast<int64_t>(farEdge) - nearEdge));
    else
        *outFar = Clamp(static_cast<int64_t>(containerFar) + farEdge);
}

// The platform's rectangle intersection: an empty result is all zeros.
Rect32 Intersect(const Rect32& a, const Rect32& b) {
    Rect32 r;
    r.left = std::max(a.left, b.left);
    r.top = std::max(a.top, b.top);
    r.right = std::min(a.right, b.right);
    r.bottom = std::min(a.bottom, b.bottom);
    if (r.left >= r.right || r.top >= r.bottom)
        return Rect32{};
    return r;
}

// One axis of ClipCopyRect: shifts a negative position into the source, cuts what passes the far edge.
void ClipAxis(int32_t* nearEdge, int32_t* farEdge, int64_t* position, int64_t destinationSize) {
    int64_t nearValue = *nearEdge;
    int64_t farValue = *farEdge;
    if (*position < 0) {
        nearValue -= *position;
        *position = 0;
    }
    if (*position + (farValue - nearValue) > destinationSize)
        farValue = nearValue + destinationSize - 1 - *position;
    *nearEdge = Clamp(nearValue);
    *farEdge = Clamp(farValue);
}

// a * b / c for positive sizes: each is below 2^32, so the product fits in 64 unsigned bits.
int64_t ScaleSize(int64_t a, int64_t b, int64_t c) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b) / static_cast<uint64_t>(c));
}

struct Placement {
    int64_t width;
    int64_t height;
    int64_t offsetX;
    int64_t offsetY;
};

void Apply(const Placement& p, Rect32* target, bool centre, Point32* offset) {
    if (centre) {
        target->left = Clamp(target->left + p.offsetX);
        target->top = Clamp(target->top + p.offsetY);
    }
    target->right = Clamp(target->left + p.width);
    target->bottom = Clamp(target->top + p.height);
    if (offset) {
        offset->x = Clamp(p.offsetX);
        offset->y = Clamp(p.offsetY);
    }
}

} // namespace

Rect32 AlignRect(const Rect32& container, const Rect32& placement) {
    Rect32 out;
    AlignAxis(container.right, placement.left, placement.right, &out.left, &out.right);
    AlignAxis(container.bottom, placement.top, placement.bottom, &out.top, &out.bottom);
    return out;
}

void ClipCopyRect(Rect32* source, Rect32* destination, Point32 position, const Rect32& clip) {
    Rect32 r = Intersect(clip, *source);
    int64_t x = position.x;
    int64_t y = position.y;
    ClipAxis(&r.left, &r.right, &x, Width(*destination));
    ClipAxis(&r.top, &r.bottom, &y, Height(*destination));
    *source = r;
    destination->left = Clamp(x);
    destination->top = Clamp(y);
    destination->right = Clamp(x + Width(r) - 1);
    destination->bottom = Clamp(y + Height(r) - 1);
}

double ShrinkPropRect(const Rect32& source, Rect32* target, bool centre, bool enlarge, Point32* offset) {
    const int64_t sw = Width(source), sh = Height(source);
    const int64_t tw = Width(*target), th = Height(*target);
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0)
        return 0.0;
    const double rx = static_cast<double>(tw) / static_cast<double>(sw);
    const double ry = static_cast<double>(th) / static_cast<double>(sh);
    double scale = std::min(rx, ry);
    Placement p{};
    if (scale >= 1.0) {
        if (enlarge) {
            p.width = static_cast<int64_t>(static_cast<double>(sw) * scale);
            p.height = static_cast<int64_t>(static_cast<double>(sh) * scale);
        } else {
            scale = 1.0;
            p.width = sw;
            p.height = sh;
        }
        p.offsetX = (tw - p.width + 1) / 2;
        p.offsetY = (th - p.height + 1) / 2;
    } else if (ry < rx) {
        p.width = ScaleSize(sw, th, sh);
        p.height = th;
        p.offsetX = (tw - p.width + 1) / 2;
        p.offsetY = 0;
    } else {
        p.height = ScaleSize(sh, tw, sw);
        p.width = tw;
        p.offsetX = 0;
        p.offsetY = (th - p.height + 1) / 2;
    }
    Apply(p, target, centre, offset);
    return scale;
}

double CropPropRect(Rect32* target, const Rect32& source, bool centre, bool fit, Point32* offset) {
    const int64_t tw = Width(*target), th = Height(*target);
    const int64_t sw = Width(source), sh = Height(source);
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0)
        return 0.0;
    const double gx = static_cast<double>(sw) / static_cast<double>(tw);
    const double gy = static_cast<double>(sh) / static_cast<double>(th);
    double result = std::min(gx, gy);
    Placement p{};
    if (result >= 1.0) {
        p.width = tw;
        p.height = th;
        if (fit) {
            if (gy <= gx) {
                p.height = ScaleSize(sh, tw, sw);
                result = gx;
            } else {
                p.width = ScaleSize(sw, th, sh);
                result = gy;
            }
        }
        p.offsetX = (tw - p.width + 1) / 2;
        p.offsetY = (th - p.height + 1) / 2;
    } else if (gy < gx) {
        p.height = ScaleSize(sh, tw, sw);
        p.width = tw;
        p.offsetX = 0;
        p.offsetY = (th - p.height) / 2;
        result = gx;
    } else {
        p.width = ScaleSize(sw, th, sh);
        p.height = th;
        p.offsetX = (tw - p.width) / 2;
        p.offsetY = 0;
        result = gy;
    }
    Apply(p, target, centre, offset);
    return result;
}

} // namespace qel::geometry
