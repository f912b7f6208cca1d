// The exported rectangle helpers over the core's 32-bit geometry.
#include "RectHelpers.h"

#include "RectFit.h"

using qel::geometry::Point32;
using qel::geometry::Rect32;

namespace {

Rect32 ToCore(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void FromCore(const Rect32& r, RECT* out) {
    out->left = r.left;
    out->top = r.top;
    out->right = r.right;
    out->bottom = r.bottom;
}

void FromCore(const Point32& p, POINT* out) {
    if (out) {
        out->x = p.x;
        out->y = p.y;
    }
}

} // namespace

RECT* ql_AlignRect(RECT* out, const RECT* container, const RECT* placement) {
    if (!out)
        return nullptr;
    const Rect32 aligned = container && placement ? qel::geometry::AlignRect(ToCore(*container), ToCore(*placement))
                                                  : Rect32{};
    FromCore(aligned, out);
    return out;
}

int ql_GetCopyRect(RECT* source, RECT* destination, POINT* position, RECT* clip) {
    if (!source || !destination)
        return 0;
    Rect32 from = ToCore(*source);
    Rect32 to = ToCore(*destination);
    const Point32 at = position ? Point32{position->x, position->y} : Point32{};
    qel::geometry::ClipCopyRect(&from, &to, at, clip ? ToCore(*clip) : from);
    FromCore(from, source);
    FromCore(to, destination);
    return 1;
}

double ql_ShrinkPropRect(RECT source, RECT* target, int centre, int enlarge, POINT* offset) {
    if (!target)
        return 0.0;
    Rect32 fitted = ToCore(*target);
    Point32 at;
    const double scale = qel::geometry::ShrinkPropRect(ToCore(source), &fitted, centre != 0, enlarge != 0, &at);
    if (scale != 0.0) {
        FromCore(fitted, target);
        FromCore(at, offset);
    }
    return scale;
}

double ql_CropPropRect(RECT* target, RECT source, int centre, int fit, POINT* offset) {
    if (!target)
        return 0.0;
    Rect32 fitted = ToCore(*target);
    Point32 at;
    const double result = qel::geometry::CropPropRect(&fitted, ToCore(source), centre != 0, fit != 0, &at);
    if (result != 0.0) {
        FromCore(fitted, target);
        FromCore(at, offset);
    }
    return result;
}
