// CSliderCtrlEx painting: the channel as a nine-slice over the client area (an image with alpha first
// flattened on the background colour), then the thumb's frame at its natural size.
#include "SliderCtrlEx.h"

#include <qelImage.h>

BOOL CSliderCtrlEx::OnEraseBkgnd(CDC*) { return TRUE; }

void CSliderCtrlEx::OnPaint() {
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(dc.m_hDC);
    DrawChannel(graphics);
    DrawHorizontalThumb(graphics);
}

void CSliderCtrlEx::xDraw() {
    if (!GetSafeHwnd())
        return;
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    {
        Gdiplus::Graphics graphics(dc);
        DrawChannel(graphics);
        DrawHorizontalThumb(graphics);
    }
    ::ReleaseDC(m_hWnd, dc);
}

void DrawSliderChannel(Gdiplus::Graphics& graphics, CImageArray& channel, const RECT& client, COLORREF background) {
    if (channel.GetPixelFormat() != PixelFormat32bppARGB) {
        channel.Draw(graphics, client, 0, 5, SRCCOPY);
        return;
    }
    const int w = static_cast<int>(channel.Width());
    const int h = static_cast<int>(channel.Height());
    CImageArray flat(w, h, PixelFormat24bppRGB, 0);
    if (flat.GetLastStatus() != Gdiplus::Ok)
        return;
    Gdiplus::Color back;
    back.SetFromCOLORREF(background);
    flat.FillColor(back);
    channel.DrawImage(flat, 0, 0, w, h, 0, 0, w, h);
    CBorder border = channel.GetBorder();
    flat.SetBorder(border);
    flat.Draw(graphics, client, 0, 5, SRCCOPY);
}

void CSliderCtrlEx::DrawChannel(Gdiplus::Graphics& graphics) {
    if (!m_channel)
        return;
    CRect client;
    GetClientRect(&client);
    DrawSliderChannel(graphics, *m_channel, client, m_bgColor);
}

void CSliderCtrlEx::DrawHorizontalThumb(Gdiplus::Graphics& graphics) {
    if (!m_thumb)
        return;
    const int frame = IsWindowEnabled() ? m_thumbState : 3;
    // Frames are a quarter of the strip whatever count the strip was made with.
    const int w = m_thumbSize.cx;
    const int h = m_thumbSize.cy;
    m_thumb->DrawImage(graphics, m_thumbRect.left, m_thumbRect.top, w, h, frame * w, 0, w, h);
}
