// Check-box painting: the frame composed on a black 24-bit image (transparent strip pixels show black),
// the caption three pixels after the image.
#include "CheckEx.h"

#include "ButtonLook.h"

#include <qelImage.h>

void CCheckEx::DrawItem(LPDRAWITEMSTRUCT item) { DrawCheckItem(item, NULL); }

void CCheckEx::DrawCheckItem(LPDRAWITEMSTRUCT item, CImageArray* captionBackground) {
    if (!m_strip || m_frameCount <= 0)
        return;
    const int frame = qel_controls::CheckFrameIndex(StateOf(item->itemState));
    if (!DrawFrame(item, frame, PixelFormat24bppRGB, false) || !m_showText)
        return;
    const int inset = m_textOffset + (m_buttonType == 0 ? m_imageInset : 0);
    CRect area;
    GetClientRect(&area);
    area.left += inset;
    if (!m_transparent && captionBackground) {
        captionBackground->Display(item->hDC, &area, 2);
    } else if (!m_transparent) {
        HBRUSH brush = CreateSolidBrush(m_backColor);
        FillRect(item->hDC, &area, brush);
        DeleteObject(brush);
    }
    DrawCaptionText(item, area, inset + 3, m_checked && m_buttonType != 0);
}
