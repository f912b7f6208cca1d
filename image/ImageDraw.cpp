// CImage drawing into graphics, device contexts and other images, display modes and proportional fitting.
#include "ImageObject.h"

#include <algorithm>

using namespace Gdiplus;

// ---- drawing --------------------------------------------------------------------------------------

void CImage::DrawIn(Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    graphics.DrawImage(this, Rect(dx, dy, dw, dh), sx, sy, sw, sh, UnitPixel, nullptr);
}

void CImage::DrawImage(Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    DrawIn(graphics, dx, dy, dw, dh, sx, sy, sw, sh);
}

void CImage::DrawImage(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    Graphics graphics(dc);
    DrawIn(graphics, dx, dy, dw, dh, sx, sy, sw, sh);
}

void CImage::DrawImage(CImage& target, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    Graphics graphics(&target);
    DrawIn(graphics, dx, dy, dw, dh, sx, sy, sw, sh);
}

void CImage::Draw(CImage& target, int x, int y, int w, int h) {
    DrawImage(target, x, y, w, h, 0, 0, static_cast<int>(Width()), static_cast<int>(Height()));
}

void CImage::Draw(CImage& target, RECT rect) {
    Draw(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void CImage::TileImage(Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    TextureBrush brush(this, WrapModeTile, sx, sy, sw, sh);
    if (brush.GetLastStatus() != Ok)
        return;
    brush.TranslateTransform(static_cast<REAL>(dx), static_cast<REAL>(dy));
    graphics.FillRectangle(&brush, dx, dy, dw, dh);
}

void CImage::TileImage(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    Graphics graphics(dc);
    TileImage(graphics, dx, dy, dw, dh, sx, sy, sw, sh);
}

void CImage::DrawString(Graphics& graphics, const WCHAR* text, int length, const Font* font, const PointF& origin,
                        const StringFormat* format, const Brush* brush) {
    graphics.DrawString(text, length, font, origin, format, brush);
}

void CImage::DrawString(HDC dc, const WCHAR* text, int length, const Font* font, const PointF& origin,
                        const StringFormat* format, const Brush* brush) {
    Graphics graphics(dc);
    graphics.DrawString(text, length, font, origin, format, brush);
}

void CImage::DrawString(CImage& target, const WCHAR* text, int length, const Font* font, const PointF& origin,
                        const StringFormat* format, const Brush* brush) {
    Graphics graphics(&target);
    graphics.DrawString(text, length, font, origin, format, brush);
}

// ---- display modes --------------------------------------------------------------------------------

void CImage::DisplayIn(Graphics& graphics, int x, int y, int w, int h, int mode) {
    const int iw = static_cast<int>(Width());
    const int ih = static_cast<int>(Height());
    switch (mode) {
    case 0: {
        const int cw = std::min(w, iw);
        const int ch = std::min(h, ih);
        DrawIn(graphics, x, y, cw, ch, 0, 0, cw, ch);
        break;
    }
    case 1:
        DrawIn(graphics, x + (w - iw) / 2, y + (h - ih) / 2, iw, ih, 0, 0, iw, ih);
        break;
    case 2:
        if (iw <= 0 || ih <= 0)
            break; // nothing to step by
        for (int row = y; row < y + h; row += ih)
            for (int column = x; column < x + w; column += iw)
                DrawIn(graphics, column, row, iw, ih, 0, 0, iw, ih);
        break;
    case 3:
        DrawIn(graphics, x, y, w, h, 0, 0, iw, ih);
        break;
    case 4: {
        CRect fitted(x, y, x + w, y + h);
        ShrinkPropRect(CRect(0, 0, iw, ih), fitted, 0, 1);
        DrawIn(graphics, fitted.left, fitted.top, fitted.Width(), fitted.Height(), 0, 0, iw, ih);
        break;
    }
    case 5: {
        const int cw = iw / 3;
        const int ch = ih / 3;
        if (cw <= 0 || ch <= 0)
            break; // an image under 3 pixels has no cells to step by
        const int right = x + w;
        const int bottom = y + h;
        auto drawRow = [&](int cellRow, int top) {
            DrawIn(graphics, x, top, cw, ch, 0, cellRow * ch, cw, ch);
            for (int column = x + cw; column < right - cw; column += cw)
                DrawIn(graphics, column, top, cw, ch, cw, cellRow * ch, cw, ch);
            DrawIn(graphics, right - cw, top, cw, ch, 2 * cw, cellRow * ch, cw, ch);
        };
        drawRow(0, y);
        for (int row = y + ch; row < bottom - ch; row += ch)
            drawRow(1, row);
        drawRow(2, bottom - ch);
        break;
    }
    default:
        break;
    }
}

void CImage::Display(Graphics& graphics, int x, int y, int w, int h, int mode) { DisplayIn(graphics, x, y, w, h, mode); }

void CImage::Display(HDC dc, int x, int y, int w, int h, int mode) {
    Graphics graphics(dc);
    DisplayIn(graphics, x, y, w, h, mode);
}

void CImage::Display(Graphics& graphics, RECT* rect, int mode) {
    if (rect)
        DisplayIn(graphics, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, mode);
}

void CImage::Display(HDC dc, RECT* rect, int mode) {
    if (rect)
        Display(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, mode);
}

// ---- proportional fitting -------------------------------------------------------------------------

namespace {

// Gives target the size w x h, moved by (ox, oy) first when centred.
void PlaceFitted(CRect& target, int centre, int ox, int oy, int w, int h) {
    if (centre) {
        target.left += ox;
        target.top += oy;
    }
    target.right = target.left + w;
    target.bottom = target.top + h;
}

} // namespace

void CImage::ShrinkPropRect(CRect source, CRect& target, int centre, int enlarge) {
    const int sw = source.Width();
    const int sh = source.Height();
    const int tw = target.Width();
    const int th = target.Height();
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0)
        return;
    const double rx = static_cast<double>(tw) / sw;
    const double ry = static_cast<double>(th) / sh;
    int w;
    int h;
    int ox;
    int oy;
    if (rx >= 1 && ry >= 1) {
        if (enlarge) {
            const double scale = std::min(rx, ry);
            w = static_cast<int>(sw * scale);
            h = static_cast<int>(sh * scale);
        } else {
            w = sw;
            h = sh;
        }
        ox = (tw - w + 1) / 2;
        oy = (th - h + 1) / 2;
    } else if (rx > ry) {
        w = static_cast<int>(static_cast<long long>(sw) * th / sh);
        h = th;
        ox = (tw - w + 1) / 2;
        oy = 0;
    } else {
        h = static_cast<int>(static_cast<long long>(sh) * tw / sw);
        w = tw;
        ox = 0;
        oy = (th - h + 1) / 2;
    }
    PlaceFitted(target, centre, ox, oy, w, h);
}

void CImage::CropPropRect(CRect& target, CRect source, int centre, int fit) {
    const int tw = target.Width();
    const int th = target.Height();
    const int sw = source.Width();
    const int sh = source.Height();
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0)
        return;
    const double gx = static_cast<double>(sw) / tw;
    const double gy = static_cast<double>(sh) / th;
    int w;
    int h;
    int ox;
    int oy;
    if (gx >= 1 && gy >= 1) {
        if (!fit) {
            w = tw;
            h = th;
        } else if (gx > gy) {
            w = static_cast<int>(static_cast<long long>(th) * sw / sh);
            h = th;
        } else {
            h = static_cast<int>(static_cast<long long>(tw) * sh / sw);
            w = tw;
        }
        ox = (tw - w + 1) / 2;
        oy = (th - h + 1) / 2;
    } else if (gx > gy) {
        h = static_cast<int>(static_cast<long long>(tw) * sh / sw);
        w = tw;
        ox = 0;
        oy = (th - h) / 2;
    } else {
        w = static_cast<int>(static_cast<long long>(th) * sw / sh);
        h = th;
        ox = (tw - w) / 2;
        oy = 0;
    }
    PlaceFitted(target, centre, ox, oy, w, h);
}

void CImage::GetPropRect(CRect& a, CRect& b, int crop, int centre, int enlargeOrFit) {
    if (crop)
        CropPropRect(a, b, centre, enlargeOrFit);
    else
        ShrinkPropRect(a, b, centre, enlargeOrFit);
}

void CImage::GetPropRect(CRect& rect, int crop) {
    const CRect own(0, 0, static_cast<int>(Width()), static_cast<int>(Height()));
    if (crop)
        CropPropRect(rect, own, 1, 1); // the rectangle the image covers, centred on the caller's
    else
        ShrinkPropRect(own, rect, 1, 0);
}

void CImage::GetPropRect(Rect& rect, int crop) {
    CRect converted(rect.X, rect.Y, rect.X + rect.Width, rect.Y + rect.Height);
    GetPropRect(converted, crop);
    rect = Rect(converted.left, converted.top, converted.Width(), converted.Height());
}
