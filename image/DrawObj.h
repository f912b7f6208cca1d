#pragma once
// CDrawObj: etched group boxes and lines, rounded rectangles and soft drop shadows in GDI+, with the
// system's button shadow and highlight colours by default; and the shadow as a plain function.
#include "Geometry.h"

class QEL_IMAGE_API CDrawObj {
public:
    CDrawObj();

    void SetParam(int penWidth, CSize corner, CSize hilightOffset, DWORD shadow, DWORD hilight);
    void DrawGroupBox(Gdiplus::Graphics* graphics, CRect& rect);
    // The frame moved by the offset in the highlight colour, then in place in the shadow colour.
    void DrawGroupBox(Gdiplus::Graphics* graphics, CRect& rect, int penWidth, CSize corner, COLORREF shadow,
                      COLORREF hilight, CSize hilightOffset);
    void DrawLine(Gdiplus::Graphics* graphics, CRect& rect);
    void DrawLine(Gdiplus::Graphics* graphics, CRect& rect, COLORREF shadow, COLORREF hilight, int penWidth,
                  CSize hilightOffset);
    // Quarter arcs in rx x ry boxes at the corners joined by straight sides; a plain rectangle when
    // either corner size is 0.
    void DrawRoundRect(Gdiplus::Graphics* graphics, Gdiplus::Pen& pen, CRect& rect, int rx, int ry);
    void DrawShadow(Gdiplus::Graphics* graphics, CRect& rect, int depth, int strength, DWORD colour);

    int m_nPenWidth;
    COLORREF m_crShadow;
    COLORREF m_crHilight;
    CSize m_szCorner;
    CSize m_szHilightOffset;
};

// A soft shadow along the right and bottom edges outside the rectangle; alpha strength x depth x
// (depth - i + 1) for the i-th line, kept to its low 8 bits. Returns 1.
extern "C" QEL_IMAGE_API int qi_DrawShadow(Gdiplus::Graphics* graphics, CRect* rect, int depth, int strength, COLORREF colour);
