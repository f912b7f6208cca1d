// CButtonEx painting: the state's frame composed off-screen with GDI+, blended onto the item's
// context, then the caption with GDI.
#include "ButtonEx.h"

#include "ButtonLook.h"

#include <qelImage.h>

namespace {

// Restores the context's font when the caption is done.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(font ? SelectObject(dc, font) : NULL) {}
    ~SelectedFont() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace

qel_controls::ButtonState CButtonEx::StateOf(UINT itemState) const {
    qel_controls::ButtonState state;
    state.enabled = m_enabled != FALSE;
    state.useDisableLook = m_useDisableLook != FALSE;
    state.disableLook = m_disableLook;
    state.selected = (itemState & ODS_SELECTED) != 0;
    state.checked = m_checked || (itemState & ODS_CHECKED);
    state.hover = m_hover != FALSE;
    return state;
}

COLORREF CButtonEx::CaptionColourOf(UINT itemState) const {
    const COLORREF colours[] = {m_textColorNormal, m_textColorDown, m_textColorGray, m_textColorHoverNormal,
                                m_textColorHoverDown};
    return colours[qel_controls::ButtonCaptionColour(StateOf(itemState))];
}

bool CButtonEx::DrawFrame(LPDRAWITEMSTRUCT item, int frame, int format, bool fillBack) {
    const int w = m_strip->Width() / m_frameCount;
    const int h = m_strip->Height();
    CImage offscreen(w, h, format, 0);
    if (offscreen.GetLastStatus() != Gdiplus::Ok)
        return false;
    if (fillBack) {
        Gdiplus::Color back;
        back.SetFromCOLORREF(m_backColor);
        offscreen.FillColor(back);
    }
    m_strip->DrawImage(offscreen, 0, 0, w, h, frame * w, 0, w, h);
    offscreen.DrawImage(item->hDC, 0, 0, w, h, 0, 0, w, h);
    return true;
}

void CButtonEx::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!m_strip || m_frameCount <= 0)
        return;
    const int frame = qel_controls::ButtonFrameIndex(StateOf(item->itemState));
    if (DrawFrame(item, frame, PixelFormat32bppARGB, !m_transparent) && m_showText)
        DrawCaption(item);
}

void CButtonEx::DrawCaption(LPDRAWITEMSTRUCT item) {
    const int inset = m_textOffset + (m_buttonType == 0 ? m_imageInset : 0);
    CRect client;
    GetClientRect(&client);
    const CRect measure(client.left + inset, client.top, client.right - inset, client.bottom);
    DrawCaptionText(item, measure, inset, (item->itemState & ODS_SELECTED) != 0);
}

void CButtonEx::DrawCaptionText(LPDRAWITEMSTRUCT item, const CRect& measureArea, int left, bool shifted) {
    CString text;
    GetWindowText(text);
    HDC dc = item->hDC;
    HFONT font = m_font ? m_font : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectedFont selected(dc, font);

    CRect measure = measureArea;
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int textHeight = measure.Height();
    CRect client;
    GetClientRect(&client);
    CRect rect(left, (client.Height() - textHeight) / 2, client.right, 0);
    rect.bottom = rect.top + textHeight;
    if (shifted)
        rect.OffsetRect(1, 1);

    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, CaptionColourOf(item->itemState));
    UINT format = DT_SINGLELINE;
    if (m_textAlignment == 1)
        format |= DT_CENTER;
    else if (m_textAlignment == 2)
        format |= DT_RIGHT;
    DrawTextA(dc, text, -1, &rect, format);
}
