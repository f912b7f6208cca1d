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

qel_controls::ButtonState StateOf(const CButtonEx& button, UINT itemState) {
    qel_controls::ButtonState state;
    state.enabled = button.m_enabled != FALSE;
    state.useDisableLook = button.m_useDisableLook != FALSE;
    state.disableLook = button.m_disableLook;
    state.selected = (itemState & ODS_SELECTED) != 0;
    state.checked = button.m_checked || (itemState & ODS_CHECKED);
    state.hover = button.m_hover != FALSE;
    return state;
}

} // namespace

void CButtonEx::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!m_strip || m_frameCount <= 0)
        return;
    const int w = m_strip->Width() / m_frameCount;
    const int h = m_strip->Height();
    CImage offscreen(w, h, PixelFormat32bppARGB, 0);
    if (offscreen.GetLastStatus() != Gdiplus::Ok)
        return;
    if (!m_transparent) {
        Gdiplus::Color back;
        back.SetFromCOLORREF(m_backColor);
        offscreen.FillColor(back);
    }
    const int frame = qel_controls::ButtonFrameIndex(StateOf(*this, item->itemState));
    m_strip->DrawImage(offscreen, 0, 0, w, h, frame * w, 0, w, h);
    offscreen.DrawImage(item->hDC, 0, 0, w, h, 0, 0, w, h);
    if (m_showText)
        DrawCaption(item);
}

void CButtonEx::DrawCaption(LPDRAWITEMSTRUCT item) {
    CString text;
    GetWindowText(text);
    HDC dc = item->hDC;
    HFONT font = m_font ? m_font : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectedFont selected(dc, font);

    const int inset = m_textOffset + (m_buttonType == 0 ? m_imageInset : 0);
    CRect client;
    GetClientRect(&client);
    CRect measure(client.left + inset, client.top, client.right - inset, client.bottom);
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int textHeight = measure.Height();

    CRect rect(inset, (client.Height() - textHeight) / 2, client.right, 0);
    rect.bottom = rect.top + textHeight;
    if (item->itemState & ODS_SELECTED)
        rect.OffsetRect(1, 1);

    const COLORREF colours[] = {m_textColorNormal, m_textColorDown, m_textColorGray, m_textColorHoverNormal,
                                m_textColorHoverDown};
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colours[qel_controls::ButtonCaptionColour(StateOf(*this, item->itemState))]);
    UINT format = DT_SINGLELINE;
    if (m_textAlignment == 1)
        format |= DT_CENTER;
    else if (m_textAlignment == 2)
        format |= DT_RIGHT;
    DrawTextA(dc, text, -1, &rect, format);
}
