// CDrawObj and the drop shadow.
#include "DrawObj.h"

using namespace Gdiplus;

namespace {

Color Opaque(COLORREF colour) { return Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

void FillPixels(Graphics& graphics, BYTE alpha, COLORREF colour, INT x, INT y, INT w, INT h) {
    SolidBrush brush(Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    graphics.FillRectangle(&brush, x, y, w, h);
}

// GDI+ takes lines and arcs as INT or REAL; rectangles hold LONG.
void LineI(Graphics& graphics, Pen& pen, LONG x1, LONG y1, LONG x2, LONG y2) {
    graphics.DrawLine(&pen, static_cast<INT>(x1), static_cast<INT>(y1), static_cast<INT>(x2), static_cast<INT>(y2));
}

void ArcI(Graphics& graphics, Pen& pen, LONG x, LONG y, int w, int h, REAL start) {
    graphics.DrawArc(&pen, static_cast<INT>(x), static_cast<INT>(y), w, h, start, 90);
}

} // namespace

CDrawObj::CDrawObj()
    : m_nPenWidth(1), m_crShadow(GetSysColor(COLOR_BTNSHADOW)), m_crHilight(GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_szCorner(0, 0), m_szHilightOffset(0, 0) {}

void CDrawObj::SetParam(int penWidth, CSize corner, CSize hilightOffset, DWORD shadow, DWORD hilight) {
    m_nPenWidth = penWidth;
    m_szCorner = corner;
    m_szHilightOffset = hilightOffset;
    m_crShadow = shadow;
    m_crHilight = hilight;
}

void CDrawObj::DrawGroupBox(Graphics* graphics, CRect& rect) {
    DrawGroupBox(graphics, rect, m_nPenWidth, m_szCorner, m_crShadow, m_crHilight, m_szHilightOffset);
}

void CDrawObj::DrawGroupBox(Graphics* graphics, CRect& rect, int penWidth, CSize corner, COLORREF shadow,
                            COLORREF hilight, CSize hilightOffset) {
    if (!graphics || rect.IsRectEmpty())
        return;
    Pen highlightPen(Opaque(hilight), static_cast<REAL>(penWidth));
    CRect moved(rect);
    moved.OffsetRect(hilightOffset.cx, hilightOffset.cy);
    DrawRoundRect(graphics, highlightPen, moved, corner.cx, corner.cy);
    Pen shadowPen(Opaque(shadow), static_cast<REAL>(penWidth));
    DrawRoundRect(graphics, shadowPen, rect, corner.cx, corner.cy);
}

void CDrawObj::DrawLine(Graphics* graphics, CRect& rect) {
    DrawLine(graphics, rect, m_crShadow, m_crHilight, m_nPenWidth, m_szHilightOffset);
}

void CDrawObj::DrawLine(Graphics* graphics, CRect& rect, COLORREF shadow, COLORREF hilight, int penWidth,
                        CSize hilightOffset) {
    if (!graphics)
        return;
    Pen highlightPen(Opaque(hilight), static_cast<REAL>(penWidth));
    LineI(*graphics, highlightPen, rect.left + hilightOffset.cx, rect.top + hilightOffset.cy,
                       rect.right + hilightOffset.cx, rect.bottom + hilightOffset.cy);
    Pen shadowPen(Opaque(shadow), static_cast<REAL>(penWidth));
    LineI(*graphics, shadowPen, rect.left, rect.top, rect.right, rect.bottom);
}

void CDrawObj::DrawRoundRect(Graphics* graphics, Pen& pen, CRect& rect, int rx, int ry) {
    if (!graphics)
        return;
    if (rx == 0 || ry == 0) {
        graphics->DrawRectangle(&pen, static_cast<INT>(rect.left), static_cast<INT>(rect.top), rect.Width(), rect.Height());
        return;
    }
    ArcI(*graphics, pen, rect.left, rect.top, rx, ry, 180);
    ArcI(*graphics, pen, rect.right - rx, rect.top, rx, ry, 270);
    ArcI(*graphics, pen, rect.right - rx, rect.bottom - ry, rx, ry, 0);
    ArcI(*graphics, pen, rect.left, rect.bottom - ry, rx, ry, 90);
    LineI(*graphics, pen, rect.left + rx / 2, rect.top, rect.right - rx / 2, rect.top);
    LineI(*graphics, pen, rect.left + rx / 2, rect.bottom, rect.right - rx / 2, rect.bottom);
    LineI(*graphics, pen, rect.left, rect.top + ry / 2, rect.left, rect.bottom - ry / 2);
    LineI(*graphics, pen, rect.right, rect.top + ry / 2, rect.right, rect.bottom - ry / 2);
}

void CDrawObj::DrawShadow(Graphics* graphics, CRect& rect, int depth, int strength, DWORD colour) {
    if (graphics)
        qi_DrawShadow(graphics, &rect, depth, strength, colour);
}

int qi_DrawShadow(Graphics* graphics, CRect* rect, int depth, int strength, COLORREF colour) {
    if (!graphics || !rect)
        return 0;
    const int w = rect->Width();
    const int h = rect->Height();
    if (w == 0 || h == 0)
        return 1;
    const int d = depth;
    for (int i = 1; i <= d; ++i) {
        const BYTE alpha = static_cast<BYTE>(strength * d * (d - i + 1));
        FillPixels(*graphics, alpha, colour, rect->right + i - 1, rect->top + 2 * d, 1, h - 2 * d);
        FillPixels(*graphics, alpha, colour, rect->left + 2 * d, rect->bottom + i - 1, w - 2 * d, 1);
        for (int j = 1; j <= d; ++j) {
            const BYTE fade = static_cast<BYTE>(strength * j * (d - i + 1));
            FillPixels(*graphics, fade, colour, rect->right + i - 1, rect->top + d + j - 1, 1, 1);
            FillPixels(*graphics, fade, colour, rect->left + 2 * d - i, rect->bottom + d - j, 1, 1);
            FillPixels(*graphics, fade, colour, rect->right + i - 1, rect->bottom + d - j, 1, 1);
        }
    }
    return 1;
}
