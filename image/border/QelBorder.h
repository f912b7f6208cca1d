#pragma once
// CBorder: four insets (left, top, right, bottom) in pixels, the nine-slice margins of a skin image.
// One inline class shared by the image, utility and control libraries, so all three agree on its
// layout without exporting three copies.
#include <windows.h>

#include <atltypes.h>

class CBorder {
public:
    CBorder() : left(0), top(0), right(0), bottom(0) {}
    CBorder(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    CBorder(const RECT* rect)
        : left(rect->left), top(rect->top), right(rect->right), bottom(rect->bottom) {}

    CBorder& operator=(const CBorder& other) = default;
    CBorder(const CBorder& other) = default;
    CBorder& operator=(const CRect& rect) {
        left = rect.left;
        top = rect.top;
        right = rect.right;
        bottom = rect.bottom;
        return *this;
    }

    int left;
    int top;
    int right;
    int bottom;
};
