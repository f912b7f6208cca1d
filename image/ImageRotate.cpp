// CImage flips, right-angle rotations in place, and rotated copies at any angle.
#include "ImageObject.h"

#include <cmath>

#include "AngleMath.h"
#include "GdiplusAccess.h"

using namespace Gdiplus;

namespace {

// The rotate-flip type for a right angle (0, 90, 180, 270) and the flips.
RotateFlipType RotateFlipFor(int angle, bool flipX, bool flipY) {
    static const RotateFlipType kRotation[4] = {RotateNoneFlipNone, Rotate90FlipNone, Rotate180FlipNone, Rotate270FlipNone};
    static const RotateFlipType kFlipX[4] = {RotateNoneFlipX, Rotate90FlipX, Rotate180FlipX, Rotate270FlipX};
    static const RotateFlipType kFlipY[4] = {RotateNoneFlipY, Rotate90FlipY, Rotate180FlipY, Rotate270FlipY};
    const int quarter = angle / 90;
    if (flipX && flipY)
        return kRotation[(quarter + 2) % 4]; // both flips are a half turn
    if (flipX)
        return kFlipX[quarter];
    if (flipY)
        return kFlipY[quarter];
    return kRotation[quarter];
}

bool IsRightAngle(int angle) { return angle == 0 || angle == 90 || angle == 180 || angle == 270; }

bool HasAlpha(int format) { return (format & PixelFormatAlpha) != 0; }

} // namespace

int CImage::Flip(int horizontal, int vertical) {
    if (!horizontal && !vertical)
        return 1;
    RotateFlipType type = Rotate180FlipNone;
    if (horizontal && !vertical)
        type = RotateNoneFlipX;
    else if (!horizontal && vertical)
        type = RotateNoneFlipY;
    return RotateFlip(type) == Ok ? 1 : 0;
}

int CImage::Rotate90xFlip(float angle, int flipX, int flipY, int) {
    const int whole = static_cast<int>(NormaliseAngle(angle));
    if (!IsRightAngle(whole))
        return 0;
    return RotateFlip(RotateFlipFor(whole, flipX != 0, flipY != 0)) == Ok ? 1 : 0;
}

CRect CImage::GetRotateRect(float angle, float scaleX, float scaleY) {
    const REAL w = static_cast<REAL>(Width());
    const REAL h = static_cast<REAL>(Height());
    int a = static_cast<int>(angle) % 360;
    if (a < 0)
        a += 360;
    if (a == 0 || a == 180)
        return CRect(0, 0, static_cast<int>(w * scaleX), static_cast<int>(h * scaleY));
    if (a == 90 || a == 270)
        return CRect(0, 0, static_cast<int>(h * scaleY), static_cast<int>(w * scaleX));

    Matrix transform;
    transform.Scale(scaleX, scaleY);
    transform.Rotate(angle, MatrixOrderAppend);
    PointF corners[4] = {PointF(0, 0), PointF(w, 0), PointF(w, h), PointF(0, h)};
    transform.TransformPoints(corners, 4);
    POINT polygon[4];
    for (int i = 0; i < 4; ++i) {
        polygon[i].x = RoundHalfAway(corners[i].X);
        polygon[i].y = RoundHalfAway(corners[i].Y);
    }
    CRect box;
    if (HRGN region = CreatePolygonRgn(polygon, 4, ALTERNATE)) {
        GetRgnBox(region, &box);
        DeleteObject(region);
    }
    return box;
}

CImage* CImage::GetRotateImage(float angle, int format) {
    if (!NativeImageOf(*this))
        return nullptr;
    angle = NormaliseAngle(angle);
    if (angle == 0 || angle == 90 || angle == 180 || angle == 270) {
        CImage* copy = Copy();
        if (copy && !copy->Rotate90xFlip(angle, 0, 0, 0)) {
            delete copy;
            return nullptr;
        }
        return copy;
    }
    const CRect bounds = GetRotateRect(angle, 1, 1);
    CImage* rotated = NewLike(bounds.Width(), bounds.Height(), format);
    if (!rotated)
        return nullptr;
    if (HasAlpha(format)) {
        Color clear(0);
        rotated->FillColor(clear);
    }
    Graphics graphics(rotated);
    graphics.RotateTransform(angle);
    graphics.TranslateTransform(static_cast<REAL>(-bounds.left), static_cast<REAL>(-bounds.top), MatrixOrderAppend);
    if (graphics.DrawImage(this, 0, 0, static_cast<INT>(Width()), static_cast<INT>(Height())) != Ok) {
        delete rotated;
        return nullptr;
    }
    return rotated;
}

CImage* CImage::GetRescaleRotateImage(int w, int h, float angle, int format) {
    if (!NativeImageOf(*this))
        return nullptr;
    angle = NormaliseAngle(angle);
    const bool sameSize = static_cast<UINT>(w) == Width() && static_cast<UINT>(h) == Height();
    if (angle == 0)
        return sameSize ? Copy() : GetResizeImage(w, h, 0, InterpolationModeHighQualityBicubic);
    if (sameSize)
        return GetRotateImage(angle, PixelFormat32bppARGB);
    if (angle == 90 || angle == 180 || angle == 270) {
        CImage* resized = GetResizeImage(w, h, 0, InterpolationModeHighQualityBicubic);
        const RotateFlipType type = angle == 90 ? Rotate90FlipNone : angle == 180 ? Rotate180FlipNone : Rotate270FlipNone;
        if (resized && resized->RotateFlip(type) != Ok) {
            delete resized;
            return nullptr;
        }
        return resized;
    }
    const REAL sx = static_cast<REAL>(w) / static_cast<REAL>(Width());
    const REAL sy = static_cast<REAL>(h) / static_cast<REAL>(Height());
    const CRect bounds = GetRotateRect(angle, sx, sy);
    CImage* rotated = NewLike(bounds.Width(), bounds.Height(), format);
    if (!rotated)
        return nullptr;
    Graphics graphics(rotated);
    if (sx != 1 || sy != 1)
        graphics.ScaleTransform(sx, sy);
    graphics.RotateTransform(angle, MatrixOrderAppend);
    graphics.TranslateTransform(static_cast<REAL>(-bounds.left), static_cast<REAL>(-bounds.top), MatrixOrderAppend);
    if (graphics.DrawImage(this, 0, 0, static_cast<INT>(Width()), static_cast<INT>(Height())) != Ok) {
        delete rotated;
        return nullptr;
    }
    return rotated;
}
