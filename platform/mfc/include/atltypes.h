#pragma once
// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with their usual helpers. They own no memory,
// so they are plain inline classes.
#include <windows.h>

class CSize;
class CRect;

class CPoint : public tagPOINT {
public:
    CPoint() {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY) {
        x = initX;
        y = initY;
    }
    CPoint(POINT pt) {
        x = pt.x;
        y = pt.y;
    }
    CPoint(SIZE size) {
        x = size.cx;
        y = size.cy;
    }
    explicit CPoint(LPARAM packed) {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    void Offset(POINT pt) { Offset(pt.x, pt.y); }
    void SetPoint(int newX, int newY) {
        x = newX;
        y = newY;
    }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    CPoint& operator+=(POINT pt) {
        Offset(pt);
        return *this;
    }
    CPoint& operator-=(POINT pt) {
        Offset(-pt.x, -pt.y);
        return *this;
    }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(x - pt.x, y - pt.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CSize : public tagSIZE {
public:
    CSize() {
        cx = 0;
        cy = 0;
    }
    CSize(int initCx, int initCy) {
        cx = initCx;
        cy = initCy;
    }
    CSize(SIZE size) {
        cx = size.cx;
        cy = size.cy;
    }
    CSize(POINT pt) {
        cx = pt.x;
        cy = pt.y;
    }

    void SetSize(int newCx, int newCy) {
        cx = newCx;
        cy = newCy;
    }
    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
    CSize& operator+=(SIZE size) {
        cx += size.cx;
        cy += size.cy;
        return *this;
    }
    CSize& operator-=(SIZE size) {
        cx -= size.cx;
        cy -= size.cy;
        return *this;
    }
    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rect) { ::CopyRect(this, &rect); }
    CRect(LPCRECT rect) { ::CopyRect(this, rect); }
    CRect(POINT topLeft, SIZE size) {
        left = topLeft.x;
        top = topLeft.y;
        right = left + size.cx;
        bottom = top + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight) {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT src) { ::CopyRect(this, src); }
    BOOL EqualRect(LPCRECT other) const { return ::EqualRect(this, other); }

    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(SIZE size) { DeflateRect(size.cx, size.cy); }
    void DeflateRect(int l, int t, int r, int b) {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    void NormalizeRect() {
        if (left > right) {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }

    bool operator==(const RECT& rect) const { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const RECT& rect) const { return !(*this == rect); }
    CRect& operator=(const RECT& rect) {
        ::CopyRect(this, &rect);
        return *this;
    }
    CRect& operator+=(POINT pt) {
        OffsetRect(pt);
        return *this;
    }
    CRect& operator-=(POINT pt) {
        OffsetRect(-pt.x, -pt.y);
        return *this;
    }
    CRect operator+(POINT pt) const {
        CRect r(*this);
        r.OffsetRect(pt);
        return r;
    }
    CRect operator-(POINT pt) const {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    CRect operator&(const RECT& other) const {
        CRect r;
        ::IntersectRect(&r, this, &other);
        return r;
    }
    CRect operator|(const RECT& other) const {
        CRect r;
        ::UnionRect(&r, this, &other);
        return r;
    }
};
