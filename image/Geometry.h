#pragma once
// Geometry shared between MFC and GDI+: point, size and rectangle classes that convert both ways, a
// GDI+ font family from an ANSI name, and plain functions that rotate points and rectangles and
// measure angles (degrees, clockwise on screen). Conversions from floats truncate toward zero.
#include <windows.h>

#include <objidl.h> // PROPID, IStream: the lean Windows header leaves them out
#include <gdiplus.h>

#include <atltypes.h>

#include "qelImageApi.h"

class QEL_IMAGE_API CXPoint {
public:
    CXPoint(const Gdiplus::Point& point);
    CXPoint(const CPoint& point);
    CXPoint(int x, int y);
    CXPoint(const CXPoint& other);
    CXPoint& operator=(const CXPoint& other);
    operator CPoint() const;
    operator Gdiplus::Point() const;

    float X;
    float Y;
};

class QEL_IMAGE_API CXSize {
public:
    CXSize(const Gdiplus::Size& size);
    CXSize(const CSize& size);
    CXSize(int width, int height);
    CXSize(const CXSize& other);
    CXSize& operator=(const CXSize& other);
    operator CSize() const;
    operator Gdiplus::Size() const;

    float Width;
    float Height;
};

// A floating-point rectangle by position and size.
class QEL_IMAGE_API CXRect {
public:
    CXRect(const Gdiplus::Rect& rect);
    CXRect(const Gdiplus::RectF& rect); // each value truncated to an int first
    CXRect(const CRect& rect);
    CXRect(const CPoint& position, const CSize& size);
    CXRect(const Gdiplus::Point& position, const Gdiplus::Size& size);
    CXRect(int x, int y, int width, int height);
    CXRect(const CXRect& other);
    CXRect& operator=(const CXRect& other);

    int nWidth() const;
    int nHeight() const;
    operator CRect() const; // X, Y, X + Width, Y + Height, truncated after the addition
    operator Gdiplus::Rect() const;

    float X;
    float Y;
    float Width;
    float Height;

private:
    void xSet(const Gdiplus::Rect& rect);
    void xSet(const Gdiplus::RectF& rect);
    void xSet(const CRect& rect);
    void xSet(const CPoint& position, const CSize& size);
    void xSet(const Gdiplus::Point& position, const Gdiplus::Size& size);
    void xSet(int x, int y, int width, int height);
};

// A GDI+ font family from an ANSI name (at most 260 characters); null collection: the installed fonts.
// The last status tells whether the family exists.
class QEL_IMAGE_API CFontFamily : public Gdiplus::FontFamily {
public:
    CFontFamily(const char* name, const Gdiplus::FontCollection* collection);
    ~CFontFamily();
};

extern "C" {
// Rotates count points in place about (cx, cy) through a GDI+ matrix on integer points.
QEL_IMAGE_API void qi_RotatePt(POINT* points, int count, int cx, int cy, float angle);
// The same with floating-point intermediates, each result rounded half away from zero.
QEL_IMAGE_API void qi_RotatePtF(POINT* points, int count, float cx, float cy, float angle);
// The bounding box of the polygon region through four points.
QEL_IMAGE_API void qi_GetVPt2Rect(POINT* points, RECT* out);
// The corners (left, top), (right, top), (right, bottom), (left, bottom).
QEL_IMAGE_API void qi_GetRect2VPt(RECT* rect, POINT* points);
// The bounding box of the rectangle's corners rotated about centre (null: the rectangle's centre);
// angles that normalise to 0 or 180 leave it as it is.
QEL_IMAGE_API void qi_RotateRect(RECT* rect, float angle, POINT* centre);
QEL_IMAGE_API void qi_RotateRectF(RECT* rect, float angle, POINT* centre);
// The angle of the point seen from the centre, above 0 and up to 360 (the positive x direction, and the
// centre itself, give 360).
QEL_IMAGE_API float qi_GetRotateAngleF(int px, int py, float cx, float cy);
}
