// CSliderCtrlEx: the mouse (hover, drag, click beside the thumb) and the arrow, Home and End keys.
// None of these pass the message on: the trackbar underneath never moves by itself.
#include "SliderCtrlEx.h"

void CSliderCtrlEx::PostScroll(int code) {
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_HSCROLL, MAKEWPARAM(code, GetPos()), reinterpret_cast<LPARAM>(m_hWnd));
}

void CSliderCtrlEx::OnLButtonDown(UINT, CPoint point) {
    if (xHitThum(point)) {
        m_thumbState = 1;
        m_lastPoint = point;
        xDraw();
        SetCapture();
        m_dragging = TRUE;
        return;
    }
    if (!InWidenedTrack(point))
        return;
    const int leftBefore = m_thumbRect.left;
    if (!xAdjustBtn(point))
        return;
    SetCapture();
    xDraw();
    PostScroll(m_thumbRect.left > leftBefore ? TB_PAGEDOWN : TB_PAGEUP);
}

void CSliderCtrlEx::OnMouseMove(UINT flags, CPoint point) {
    if (m_dragging && flags == MK_LBUTTON) {
        if (xAdjustBtn(point)) {
            m_thumbState = 1;
            xDraw();
            PostScroll(TB_THUMBTRACK);
        }
        return;
    }
    const bool captured = GetCapture() == this;
    if (xHitThum(point)) {
        if (!captured) {
            SetCapture(); // held to see the pointer leave the thumb
            m_thumbState = 2;
            xDraw();
        }
    } else if (captured) {
        ReleaseCapture();
        m_thumbState = 0;
        xDraw();
    }
}

void CSliderCtrlEx::OnLButtonUp(UINT, CPoint) {
    if (GetCapture() != this)
        return;
    m_thumbState = 0;
    xDraw();
    ReleaseCapture();
    m_dragging = FALSE;
    PostScroll(TB_THUMBPOSITION);
}

void CSliderCtrlEx::OnKeyDown(UINT ch, UINT, UINT) {
    int code = 0;
    switch (ch) {
    case VK_LEFT:
        SetPos(GetPos() - 1);
        code = TB_LINEUP;
        break;
    case VK_RIGHT:
        SetPos(GetPos() + 1);
        code = TB_LINEDOWN;
        break;
    case VK_HOME:
        SetPos(GetRangeMin());
        code = TB_TOP;
        break;
    case VK_END:
        SetPos(GetRangeMax());
        code = TB_BOTTOM;
        break;
    default:
        return;
    }
    PostScroll(code);
}
