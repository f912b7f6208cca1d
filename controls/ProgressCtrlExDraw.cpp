// CProgressCtrlEx painting: background, bar (brush, colour or gradient), then the text, all into a
// CMemDC that reaches the screen in one copy.
#include "ProgressCtrlEx.h"

#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <cstring>

namespace {

int Component(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The anchor of TA_CENTER | TA_BOTTOM text of extent (cx, cy) for the font's escapement, and the box
// the text covers along the two axes.
struct TextBox {
    int w, h, dx, dy;
};

TextBox BoxFor(int escapementDegrees, CSize extent) {
    switch (escapementDegrees) {
    case 90:
        return {extent.cy, extent.cx, extent.cy, 0};
    case 180:
        return {extent.cx, extent.cy, 0, -extent.cy};
    case 270:
        return {extent.cy, extent.cx, -extent.cy, 0};
    default:
        return {extent.cx, extent.cy, 0, extent.cy};
    }
}

CPoint CentreOf(const CRect& r, const TextBox& box) {
    return CPoint(r.left + (r.Width() + box.dx) / 2, r.top + (r.Height() + box.dy) / 2);
}

} // namespace

BOOL CProgressCtrlEx::OnEraseBkgnd(CDC*) { return TRUE; }

CRect CProgressCtrlEx::ConvertToReal(const CDrawInfo& info, const CRect& span) {
    const CRect& r = info.rcClient;
    const bool reverse = (info.dwStyle & PBS_EX_REVERSE) != 0;
    const int length = span.right - span.left;
    if (info.dwStyle & PBS_VERTICAL) {
        const int offset = reverse ? span.left : r.Height() - span.right;
        return CRect(r.left, r.top + offset, r.right, r.top + offset + length);
    }
    const int offset = reverse ? r.Width() - span.right : span.left;
    return CRect(r.left + offset, r.top, r.left + offset + length, r.bottom);
}

void CProgressCtrlEx::FillFlat(const CDrawInfo& info, const CRect& span, COLORREF color) {
    const CRect real = ConvertToReal(info, span);
    info.pDC->FillSolidRect(&real, color);
}

void CProgressCtrlEx::OnPaint() {
    CPaintDC paint(this);
    CDrawInfo info;
    GetClientRect(&info.rcClient);
    info.nCurPos = GetPos();
    GetRange(info.nLower, info.nUpper);
    info.dwStyle = GetStyle();
    CMemDC memory(&paint);
    info.pDC = &memory;

    if (m_pBkBrush)
        memory.FillRect(&info.rcClient, m_pBkBrush);
    else
        memory.FillSolidRect(&info.rcClient, m_bkColor);

    info.rcClient.DeflateRect(m_insets.left, m_insets.top, m_insets.right, m_insets.bottom);
    // An empty range has no bar to show (and nothing to divide by).
    if (info.nUpper == info.nLower || info.nCurPos < info.nLower || info.nCurPos > info.nUpper)
        return;

    const long long range = static_cast<long long>(info.nUpper) - info.nLower;
    const int length = (info.dwStyle & PBS_VERTICAL) ? info.rcClient.Height() : info.rcClient.Width();
    const int end = static_cast<int>((static_cast<long long>(info.nCurPos) - info.nLower) * length / range);
    const int start = (info.dwStyle & PBS_EX_SNAKE)
                          ? static_cast<int>((static_cast<long long>(m_snakeStart) - info.nLower) * length / range)
                          : 0;
    const CRect bar(start, 0, end, 0);
    const CRect whole(0, 0, length, 0);

    if (m_pBarBrush) {
        const CRect real = ConvertToReal(info, bar);
        memory.FillRect(&real, m_pBarBrush);
    } else if (m_bSolidBar) {
        FillFlat(info, bar, m_barColor);
    } else {
        DrawMultiGradient(info, (info.dwStyle & PBS_EX_RUBBERBAR) ? bar : whole, bar);
    }
    DrawTextA(info, whole, bar);
}

void CProgressCtrlEx::DrawMultiGradient(const CDrawInfo& info, const CRect& gradient, const CRect& bar) {
    const INT_PTR colours = m_gradientColors.GetSize();
    if (colours < 2) {
        // No gradient to run through: one colour, or the bar colour, fills the bar flat.
        FillFlat(info, bar, colours == 1 ? m_gradientColors[0] : m_barColor);
        return;
    }
    const INT_PTR segments = colours - 1;
    const double segmentLength = static_cast<double>(gradient.Width()) / segments;
    for (INT_PTR i = 0; i < segments; ++i) {
        CRect segment(gradient.left + static_cast<int>(i * segmentLength), 0,
                      i == segments - 1 ? gradient.right : gradient.left + static_cast<int>((i + 1) * segmentLength), 0);
        if (segment.right < bar.left)
            continue;
        CRect clipped(segment.left > bar.left ? segment.left : bar.left, 0,
                      segment.right < bar.right ? segment.right : bar.right, 0);
        DrawGradient(info, segment, clipped, m_gradientColors[i], m_gradientColors[i + 1]);
        if (clipped.right >= bar.right)
            break;
    }
}

void CProgressCtrlEx::DrawGradient(const CDrawInfo& info, const CRect& band, const CRect& clip, COLORREF c1,
                                   COLORREF c2) {
    CDC* dc = info.pDC;
    const bool palette = (dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
    int steps = 1;
    for (int shift : {0, 8, 16}) {
        const int d = std::abs(Component(c2, shift) - Component(c1, shift));
        steps = d > steps ? d : steps;
    }
    if (steps > band.Width())
        steps = band.Width();
    if (steps < 1)
        steps = 1;
    if (!palette && dc->GetDeviceCaps(BITSPIXEL) * dc->GetDeviceCaps(PLANES) < 8)
        steps = 1;

    const double stepWidth = static_cast<double>(band.Width()) / steps;
    for (int i = 0; i < steps; ++i) {
        CRect step(band.left + static_cast<int>(i * stepWidth), 0,
                   i == steps - 1 ? band.right : band.left + static_cast<int>((i + 1) * stepWidth), 0);
        if (step.right < clip.left)
            continue;
        if (step.left < clip.left)
            step.left = clip.left;
        if (step.right > clip.right)
            step.right = clip.right;
        int rgb[3];
        int k = 0;
        for (int shift : {0, 8, 16}) {
            const int a = Component(c1, shift);
            rgb[k++] = a + static_cast<int>(static_cast<long long>(i) * (Component(c2, shift) - a) / steps);
        }
        const COLORREF colour = RGB(rgb[0], rgb[1], rgb[2]);
        const CRect real = ConvertToReal(info, step);
        if (palette) {
            CBrush brush(colour); // a brush lets the palette map the colour
            dc->FillRect(&real, &brush);
        } else {
            dc->FillSolidRect(&real, colour);
        }
        if (step.right >= clip.right)
            break;
    }
}

CString CProgressCtrlEx::FormatText(const CString& format, int first, const int* second) {
    // Only %d conversions (with flags and width) and %% are expanded: the format is the caller's
    // window text, and anything else would read arguments that are not there.
    const int values[2] = {first, second ? *second : 0};
    const int available = second ? 2 : 1;
    int used = 0;
    CString out;
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p += 2;
            continue;
        }
        size_t n = 1 + strspn(p + 1, "-+ 0#");
        n += strspn(p + n, "0123456789");
        if (p[n] == 'd' && n < 16 && used < available) {
            char spec[20] = {};
            memcpy(spec, p, n + 1);
            char piece[64];
            snprintf(piece, sizeof piece, spec, values[used++]);
            out += piece;
            p += n + 1;
        } else {
            out += *p++; // left as written
        }
    }
    return out;
}

void CProgressCtrlEx::DrawTextA(const CDrawInfo& info, const CRect& whole, const CRect& bar) {
    if (!(info.dwStyle & PBS_EX_SHOWTEXT))
        return;
    CString format;
    GetWindowText(format);
    const bool percent = (info.dwStyle & PBS_EX_SHOWPERCENT) != 0;
    if (format.IsEmpty())
        format = percent ? "%d%%" : "%d";
    const int value =
        percent ? static_cast<int>((static_cast<long long>(info.nCurPos) - info.nLower) * 100 /
                                   (static_cast<long long>(info.nUpper) - info.nLower))
                : info.nCurPos;
    CString text = FormatText(format, value, NULL);
    DrawBarText(info, whole, bar, text);
}

void CProgressCtrlEx::DrawBarText(const CDrawInfo& info, const CRect& whole, const CRect& bar, CString& text) {
    CDC* dc = info.pDC;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? ::SelectObject(dc->m_hDC, font) : NULL;
    LOGFONTA logFont = {};
    ::GetObjectA(font ? static_cast<HGDIOBJ>(font) : ::GetCurrentObject(dc->m_hDC, OBJ_FONT), sizeof logFont, &logFont);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const UINT oldAlign = dc->SetTextAlign(TA_CENTER | TA_BOTTOM);
    const COLORREF oldColour = dc->SetTextColor(m_textColorOnBar);

    const int degrees = ((logFont.lfEscapement / 10) % 360 + 360) % 360;
    const TextBox box = BoxFor(degrees, dc->GetTextExtent(text));
    const bool vertical = (info.dwStyle & PBS_VERTICAL) != 0;
    const int barLength = bar.right - bar.left;

    if (info.dwStyle & PBS_EX_TIEDTEXT) {
        if (barLength >= (vertical ? box.h : box.w))
            DrawClippedText(info, bar, text, CentreOf(ConvertToReal(info, bar), box));
    } else {
        const CPoint anchor = CentreOf(info.rcClient, box);
        if (m_textColorOnBar == m_textColorOnBk) {
            DrawClippedText(info, whole, text, anchor);
        } else {
            if (barLength > 0)
                DrawClippedText(info, bar, text, anchor);
            dc->SetTextColor(m_textColorOnBk);
            if (whole.right > bar.right)
                DrawClippedText(info, CRect(bar.right, 0, whole.right, 0), text, anchor);
            if (bar.left > whole.left)
                DrawClippedText(info, CRect(whole.left, 0, bar.left, 0), text, anchor);
        }
    }

    dc->SetTextColor(oldColour);
    dc->SetTextAlign(oldAlign);
    dc->SetBkMode(oldMode);
    if (oldFont)
        ::SelectObject(dc->m_hDC, oldFont);
}

void CProgressCtrlEx::DrawClippedText(const CDrawInfo& info, const CRect& part, CString& text, const CPoint& origin) {
    CDC* dc = info.pDC;
    CRect clip = ConvertToReal(info, part);
    clip.OffsetRect(-origin.x, -origin.y);
    const int saved = dc->SaveDC();
    const CPoint oldOrigin = dc->SetViewportOrg(origin.x, origin.y);
    dc->IntersectClipRect(&clip);
    dc->TextOut(0, 0, text);
    dc->SetViewportOrg(oldOrigin.x, oldOrigin.y);
    dc->RestoreDC(saved);
}

void CProgressCtrlEx2::DrawTextA(const CDrawInfo& info, const CRect& whole, const CRect& bar) {
    if (!(info.dwStyle & PBS_EX_SHOWPOSITION)) {
        CProgressCtrlEx::DrawTextA(info, whole, bar);
        return;
    }
    CString format;
    GetWindowText(format);
    if (format.IsEmpty())
        format = "%d / %d";
    // Both values always go along, whatever the smooth bit says: the format holds two conversions.
    const int total = info.nUpper - info.nLower;
    CString text = FormatText(format, info.nCurPos - info.nLower, &total);
    DrawBarText(info, whole, bar, text);
}
