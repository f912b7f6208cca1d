// CRescaleButton painting: caps, repeated centre and icon composed off-screen with GDI+, blended onto
// the item, then the caption (with its shadow) with GDI.
#include "RescaleButton.h"

#include "ButtonLook.h"

#include <qelImage.h>

namespace {

// Columns [sx, sx + sw) of image stretched over (dx, 0, dw, h) of target. Each target pixel takes one
// source pixel: a smoothing filter would blend the neighbouring frame of the strip into the edges.
void DrawSlice(CImage& target, CImageArray* image, int dx, int dw, int h, int sx, int sw) {
    Gdiplus::Graphics graphics(&target);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(image, Gdiplus::Rect(dx, 0, dw, h), sx, 0, sw, static_cast<int>(image->Height()),
                       Gdiplus::UnitPixel, &attributes);
}

} // namespace

void CRescaleButton::DrawPart(CImage& target, CImageArray* image, int frame, int x, int w, int h) {
    if (!image || m_frameCount <= 0 || w <= 0)
        return;
    const int frameWidth = static_cast<int>(image->Width()) / m_frameCount;
    if (frameWidth <= 0)
        return;
    DrawSlice(target, image, x, w, h, frame * frameWidth, frameWidth);
}

void CRescaleButton::DrawFace(LPDRAWITEMSTRUCT item, int frame, int format, bool stretchCentre) {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (w <= 0 || h <= 0 || m_frameCount <= 0)
        return;
    CImage offscreen(w, h, format, 0);
    if (offscreen.GetLastStatus() != Gdiplus::Ok)
        return;
    if (!m_transparent) {
        Gdiplus::Color back;
        back.SetFromCOLORREF(m_backColor);
        offscreen.FillColor(back);
    }

    DrawPart(offscreen, m_pLeftImage, frame, 0, m_leftWidth, h);
    if (stretchCentre) {
        DrawPart(offscreen, m_pCenterImage, frame, m_leftWidth, m_centerWidth + m_rightWidth, h);
        DrawPart(offscreen, m_pRightImage, frame, m_leftWidth + m_centerWidth, m_rightWidth, h);
    } else {
        DrawPart(offscreen, m_pRightImage, frame, m_leftWidth + m_centerWidth, m_rightWidth, h);
        // A centre image without width has nothing to repeat (and nothing to divide by).
        const int frameWidth = m_pCenterImage ? static_cast<int>(m_pCenterImage->Width()) / m_frameCount : 0;
        if (frameWidth > 0 && m_centerWidth > 0) {
            const int copies = m_centerWidth / frameWidth;
            for (int i = 0; i < copies; ++i)
                DrawSlice(offscreen, m_pCenterImage, m_leftWidth + i * frameWidth, frameWidth, h, frame * frameWidth,
                          frameWidth);
            const int rest = m_centerWidth - copies * frameWidth;
            if (rest > 0)
                DrawSlice(offscreen, m_pCenterImage, m_leftWidth + copies * frameWidth, rest, h, frame * frameWidth,
                          rest);
        }
    }
    if (m_strip) {
        const int iconWidth = static_cast<int>(m_strip->Width()) / m_frameCount;
        const int iconHeight = static_cast<int>(m_strip->Height());
        m_strip->DrawImage(offscreen, m_leftWidth, 0, iconWidth, iconHeight, frame * iconWidth, 0, iconWidth,
                           iconHeight);
    }
    offscreen.DrawImage(item->hDC, 0, 0, w, h, 0, 0, w, h);
}

void CRescaleButton::DrawPartCaption(LPDRAWITEMSTRUCT item) {
    CString text;
    GetWindowText(text);
    HDC dc = item->hDC;
    const int saved = SaveDC(dc);
    HFONT font = m_font ? m_font : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font)
        SelectObject(dc, font);

    CRect client;
    GetClientRect(&client);
    CRect measure(client.left + m_leftWidth, client.top, client.right - m_leftWidth, client.bottom);
    ::DrawTextA(dc, text, -1, &measure, DT_CALCRECT | (m_multiLine ? 0 : DT_SINGLELINE));
    const int textHeight = measure.Height();
    CRect rect(m_leftWidth, (client.Height() - textHeight) / 2, m_leftWidth + m_centerWidth, 0);
    rect.bottom = rect.top + textHeight;
    if (item->itemState & ODS_SELECTED)
        rect.OffsetRect(1, 1);

    UINT format = m_multiLine ? DT_WORDBREAK : DT_SINGLELINE;
    if (m_textAlignment == 1)
        format |= DT_CENTER;
    else if (m_textAlignment == 2)
        format |= DT_RIGHT;
    SetBkMode(dc, TRANSPARENT);
    if (m_shadowOffset.cx != 0 || m_shadowOffset.cy != 0) {
        CRect shadow = rect;
        shadow.OffsetRect(m_shadowOffset);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::DrawTextA(dc, text, -1, &shadow, format);
    }
    ::SetTextColor(dc, CaptionColourOf(item->itemState));
    ::DrawTextA(dc, text, -1, &rect, format);
    RestoreDC(dc, saved);
}

void CRescaleButton::DrawItem(LPDRAWITEMSTRUCT item) {
    DrawFace(item, qel_controls::ButtonFrameIndex(StateOf(item->itemState)), PixelFormat32bppARGB, false);
    if (m_showText)
        DrawPartCaption(item);
}
