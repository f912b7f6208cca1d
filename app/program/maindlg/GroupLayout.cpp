#include "GroupLayout.h"

namespace {

constexpr int kFrame = 2; // the group box's etched line

int Later(int a, int b) {
    return a > b ? a : b;
}

} // namespace

RECT GroupInside(const RECT& box, int titleHeight, int rightEdge) {
    RECT inside = {box.left + kFrame, box.top + Later(titleHeight, kFrame), box.right - kFrame,
                   box.bottom - kFrame};
    if (rightEdge > inside.left && rightEdge < inside.right)
        inside.right = rightEdge;
    return inside;
}

SIZE GrowthToHold(const RECT& inside, SIZE list) {
    return {Later(0, list.cx - (inside.right - inside.left)),
            Later(0, list.cy - (inside.bottom - inside.top))};
}

RECT PlaceListIn(const RECT& inside, SIZE list) {
    const int left = inside.left + Later(0, ((inside.right - inside.left) - list.cx) / 2);
    const int top = inside.top + Later(0, ((inside.bottom - inside.top) - list.cy) / 2);
    return {left, top, left + list.cx, top + list.cy};
}
