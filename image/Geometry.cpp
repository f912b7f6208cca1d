// Point, size and rectangle conversions, the ANSI-named font family, and the rotation helpers.
#include "Geometry.h"

#include <cmath>
#include <string>

#include "AngleMath.h"

using namespace Gdiplus;

namespace {

// The name in the ANSI code page as a wide string; empty when it has invalid characters or is too long.
std::wstring WideFamilyName(const char* name) {
    wchar_t wide[260];
    if (!name)
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide, 260);
    return length > 0 ? std::wstring(wide) : std::wstring();
}

} // namespace

CXPoint::CXPoint(const Point& point) : X(static_cast<float>(point.X)), Y(static_cast<float>(point.Y)) {}
CXPoint::CXPoint(const CPoint& point) : X(static_cast<float>(point.x)), Y(static_cast<float>(point.y)) {}
CXPoint::CXPoint(int x, int y) : X(static_cast<float>(x)), Y(static_cast<float>(y)) {}
CXPoint::CXPoint(const CXPoint& other) = default;
CXPoint& CXPoint::operator=(const CXPoint& other) = default;
CXPoint::operator CPoint() const { return CPoint(static_cast<int>(X), static_cast<int>(Y)); }
CXPoint::operator Point() const { return Point(static_cast<INT>(X), static_cast<INT>(Y)); }

CXSize::CXSize(const Size& size) : Width(static_cast<float>(size.Width)), Height(static_cast<float>(size.Height)) {}
CXSize::CXSize(const CSize& size) : Width(static_cast<float>(size.cx)), Height(static_cast<float>(size.cy)) {}
CXSize::CXSize(int width, int height) : Width(static_cast<float>(width)), Height(static_cast<float>(height)) {}
CXSize::CXSize(const CXSize& other) = default;
CXSize& CXSize::operator=(const CXSize& other) = default;
CXSize::operator CSize() const { return CSize(static_cast<int>(Width), static_cast<int>(Height)); }
CXSize::operator Size() const { return Size(static_cast<INT>(Width), static_cast<INT>(Height)); }

CXRect::CXRect(const Rect& rect) { xSet(rect); }
CXRect::CXRect(const RectF& rect) { xSet(rect); }
CXRect::CXRect(const CRect& rect) { xSet(rect); }
CXRect::CXRect(const CPoint& position, const CSize& size) { xSet(position, size); }
CXRect::CXRect(const Point& position, const Size& size) { xSet(position, size); }
CXRect::CXRect(int x, int y, int width, int height) { xSet(x, y, width, height); }
CXRect::CXRect(const CXRect& other) = default;
CXRect& CXRect::operator=(const CXRect& other) = default;

void CXRect::xSet(int x, int y, int width, int height) {
    X = static_cast<float>(x);
    Y = static_cast<float>(y);
    Width = static_cast<float>(width);
    Height = static_cast<float>(height);
}
void CXRect::xSet(const Rect& rect) { xSet(rect.X, rect.Y, rect.Width, rect.Height); }
void CXRect::xSet(const RectF& rect) {
    xSet(static_cast<int>(rect.X), static_cast<int>(rect.Y), static_cast<int>(rect.Width), static_cast<int>(rect.Height));
}
void CXRect::xSet(const CRect& rect) { xSet(rect.left, rect.top, rect.Width(), rect.Height()); }
void CXRect::xSet(const CPoint& position, const CSize& size) { xSet(position.x, position.y, size.cx, size.cy); }
void CXRect::xSet(const Point& position, const Size& size) { xSet(position.X, position.Y, size.Width, size.Height); }

int CXRect::nWidth() const { return static_cast<int>(Width); }
int CXRect::nHeight() const { return static_cast<int>(Height); }
CXRect::operator CRect() const {
    return CRect(static_cast<int>(X), static_cast<int>(Y), static_cast<int>(X + Width), static_cast<int>(Y + Height));
}
CXRect::operator Rect() const {
    return Rect(static_cast<INT>(X), static_cast<INT>(Y), static_cast<INT>(Width), static_cast<INT>(Height));
}

CFontFamily::CFontFamily(const char* name, const FontCollection* collection)
    : FontFamily(WideFamilyName(name).c_str(), collection) {}

// The base deletes the native family.
CFontFamily::~CFontFamily() {}

void qi_RotatePt(POINT* points, int count, int cx, int cy, float angle) {
    angle = NormaliseAngle(angle);
    if (!points || count <= 0 || angle == 0)
        return;
    Matrix matrix;
    matrix.RotateAt(angle, PointF(static_cast<REAL>(cx), static_cast<REAL>(cy)));
    static_assert(sizeof(Point) == sizeof(POINT), "GDI+ points are POINTs");
    matrix.TransformPoints(reinterpret_cast<Point*>(points), count);
}

void qi_RotatePtF(POINT* points, int count, float cx, float cy, float angle) {
    angle = NormaliseAngle(angle);
    if (!points || count <= 0 || angle == 0)
        return;
    Matrix matrix;
    matrix.RotateAt(angle, PointF(cx, cy));
    for (int i = 0; i < count; ++i) {
        PointF point(static_cast<REAL>(points[i].x), static_cast<REAL>(points[i].y));
        matrix.TransformPoints(&point, 1);
        points[i].x = RoundHalfAway(point.X);
        points[i].y = RoundHalfAway(point.Y);
    }
}

void qi_GetVPt2Rect(POINT* points, RECT* out) {
    if (!points || !out)
        return;
    SetRectEmpty(out);
    if (HRGN region = CreatePolygonRgn(points, 4, ALTERNATE)) {
        GetRgnBox(region, out);
        DeleteObject(region);
    }
}

void qi_GetRect2VPt(RECT* rect, POINT* points) {
    if (!rect || !points)
        return;
    points[0] = POINT{rect->left, rect->top};
    points[1] = POINT{rect->right, rect->top};
    points[2] = POINT{rect->right, rect->bottom};
    points[3] = POINT{rect->left, rect->bottom};
}

void qi_RotateRect(RECT* rect, float angle, POINT* centre) {
    angle = NormaliseAngle(angle);
    if (!rect || angle == 0 || angle == 180)
        return;
    const float cx = centre ? static_cast<float>(centre->x) : (rect->left + rect->right) / 2.0f;
    const float cy = centre ? static_cast<float>(centre->y) : (rect->top + rect->bottom) / 2.0f;
    POINT corners[4];
    qi_GetRect2VPt(rect, corners);
    qi_RotatePtF(corners, 4, cx, cy, angle);
    qi_GetVPt2Rect(corners, rect);
}

void qi_RotateRectF(RECT* rect, float angle, POINT* centre) { qi_RotateRect(rect, angle, centre); }

float qi_GetRotateAngleF(int px, int py, float cx, float cy) {
    const double dx = px - cx;
    const double dy = py - cy;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0)
        return 360.0f; // the centre itself: as the positive x direction
    double ratio = std::fabs(dx) / distance;
    if (ratio > 1)
        ratio = 1;
    const double m = std::acos(ratio) * 180.0 / 3.14159265359;
    double angle;
    if (cx < px)
        angle = cy < py ? m : 360.0 - m;
    else
        angle = cy < py ? 180.0 - m : 180.0 + m;
    return static_cast<float>(angle);
}
