// CImageArray: frame geometry and the six drawing modes.
#include "ImageStrip.h"

using namespace Gdiplus;

CImageArray::CImageArray(const char* path, int count, CBorder* border) : CImage(path), m_count(1) {
    SetCount(count);
    if (border)
        m_border = *border;
}

CImageArray::CImageArray(int width, int height, int format, DWORD color)
    : CImage(width, height, format, color), m_count(1) {}

CImageArray::CImageArray(HBITMAP bitmap) : CImage(bitmap, static_cast<HPALETTE>(nullptr)), m_count(1) {}

CImageArray::~CImageArray() {}

// A count of 0 would leave the frame width undefined (a division by zero).
void CImageArray::SetCount(int count) { m_count = count < 1 ? 1 : count; }
int CImageArray::GetCount() { return m_count; }
int CImageArray::GetItemWidth() { return static_cast<int>(Width()) / m_count; }
int CImageArray::GetItemHeight() { return static_cast<int>(Height()); }
CRect CImageArray::GetItemRect() { return CRect(0, 0, GetItemWidth(), GetItemHeight()); }

void CImageArray::SetBorder(int left, int top, int right, int bottom) { m_border = CBorder(left, top, right, bottom); }
void CImageArray::SetBorder(CBorder& border) { m_border = border; }
CBorder CImageArray::GetBorder() { return m_border; }

int CImageArray::Draw(Graphics& graphics, int x, int y, int w, int h, int index, int mode, DWORD rop) {
    const int iw = GetItemWidth();
    const int ih = GetItemHeight();
    if (index < 0 || index >= m_count)
        index = 0;
    const int sx = index * iw;
    switch (mode) {
    case 0:
        DrawImage(graphics, x, y, iw, ih, sx, 0, iw, ih);
        break;
    case 1:
        DrawImage(graphics, x + (w - iw) / 2, y + (h - ih) / 2, iw, ih, sx, 0, iw, ih);
        break;
    case 2:
        if (iw <= 0 || ih <= 0)
            break; // a frame without size has nothing to step by
        for (int row = 0; row < h; row += ih)
            for (int column = 0; column < w; column += iw)
                DrawImage(graphics, x + column, y + row, iw, ih, sx, 0, iw, ih);
        break;
    case 3:
        DrawImage(graphics, x, y, w, h, sx, 0, iw, ih);
        break;
    case 5:
    case 6:
        xDrawTile9(graphics, x, y, w, h, index, mode, rop);
        break;
    default:
        break;
    }
    return 1;
}

int CImageArray::Draw(HDC dc, int x, int y, int w, int h, int index, int mode, DWORD rop) {
    Graphics graphics(dc);
    return Draw(graphics, x, y, w, h, index, mode, rop);
}

int CImageArray::Draw(HDC dc, RECT rect, int index, int mode, DWORD rop) {
    return Draw(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, index, mode, rop);
}

int CImageArray::Draw(Graphics& graphics, RECT rect, int index, int mode, DWORD rop) {
    return Draw(graphics, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, index, mode, rop);
}

int CImageArray::xDrawTile9(Graphics& graphics, int x, int y, int w, int h, int index, int mode, DWORD) {
    const int iw = GetItemWidth();
    const int ih = GetItemHeight();
    if (index < 0 || index >= m_count)
        index = 0;
    const int sx = index * iw;
    const int l = m_border.left;
    const int t = m_border.top;
    const int r = m_border.right;
    const int b = m_border.bottom;
    const int innerW = w - l - r;
    const int innerH = h - t - b;
    const int sourceW = iw - l - r;
    const int sourceH = ih - t - b;

    if (mode == 6 && (innerW < 0 || innerH < 0)) {
        DrawImage(graphics, x, y, w, h, sx, 0, iw, ih);
        return 1;
    }
    // Edges and centre: stretched in mode 6, tiled in mode 5.
    auto part = [&](int dx, int dy, int dw, int dh, int px, int py, int pw, int ph) {
        if (mode == 6)
            DrawImage(graphics, dx, dy, dw, dh, px, py, pw, ph);
        else
            TileImage(graphics, dx, dy, dw, dh, px, py, pw, ph);
    };
    if (t > 0)
        part(x + l, y, innerW, t, sx + l, 0, sourceW, t);
    if (b > 0)
        part(x + l, y + h - b, innerW, b, sx + l, ih - b, sourceW, b);
    if (l > 0)
        part(x, y + t, l, innerH, sx, t, l, sourceH);
    if (r > 0)
        part(x + w - r, y + t, r, innerH, sx + iw - r, t, r, sourceH);
    part(x + l, y + t, innerW, innerH, sx + l, t, sourceW, sourceH);

    // Corners at natural size, over whatever the edges reached into.
    if (l > 0 && t > 0)
        DrawImage(graphics, x, y, l, t, sx, 0, l, t);
    if (r > 0 && t > 0)
        DrawImage(graphics, x + w - r, y, r, t, sx + iw - r, 0, r, t);
    if (l > 0 && b > 0)
        DrawImage(graphics, x, y + h - b, l, b, sx, ih - b, l, b);
    if (r > 0 && b > 0)
        DrawImage(graphics, x + w - r, y + h - b, r, b, sx + iw - r, ih - b, r, b);
    return 1;
}
