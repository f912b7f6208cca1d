#pragma once
// CBorder: the four nine-slice insets of an image strip (left, top, right, bottom). One inline class
// shared by the utility, image and control libraries, so each sees the same layout and members.
#include <atltypes.h>

class CBorder {
public:
    int left;
    int top;
    int right;
    int bottom;

    CBorder() : left(0), top(0), right(0), bottom(0) {}
    CBorder(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    // A null rectangle gives the empty border.
    explicit CBorder(const RECT* rect)
        : left(rect ? rect->left : 0), top(rect ? rect->top : 0), right(rect ? rect->right : 0),
          bottom(rect ? rect->bottom : 0) {}

    CBorder& operator=(const CBorder& other) = default;
    CBorder& operator=(const CRect& rect) {
        left = rect.left;
        top = rect.top;
        right = rect.right;
        bottom = rect.bottom;
        return *this;
    }
};
