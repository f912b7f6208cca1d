// The vertical slider with its two step buttons.
#include "VSliderCtrlEx.h"

#include <qelImage.h>

#include <initializer_list>

BEGIN_MESSAGE_MAP(CVSliderCtrlEx2, CVSliderCtrlEx)
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(1, OnStepUp)
    ON_BN_CLICKED(2, OnStepDown)
END_MESSAGE_MAP()

CVSliderCtrlEx2::CVSliderCtrlEx2() = default;
CVSliderCtrlEx2::~CVSliderCtrlEx2() = default;

void CVSliderCtrlEx2::CreateStepButton(CButtonEx& button, UINT id, CImageArray* strip, POINT place, BOOL own) {
    if (!strip || button.GetSafeHwnd())
        return;
    const RECT small = {0, 0, 10, 10};
    button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, small, this, id);
    button.SetBkColor(m_bgColor);
    button.LoadBitmapA(strip, own);
    button.SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOOWNERZORDER);
}

BOOL CVSliderCtrlEx2::LoadSetting(_tagSLDCTRLEX2BUF& record, BOOL own) {
    if (!LoadBitmap(record.channel, record.thumb, own))
        return FALSE;
    if (!IsRectEmpty(&record.thumbRange)) {
        m_windowRect = record.rect;
        SetThumbRange(record.thumbRange);
    }
    if (record.channel)
        record.channel->SetBorder(record.border);
    SetRange(record.min, record.max);
    SetPos(record.pos);
    CreateStepButton(m_left, 1, record.leftStrip, record.leftPos, own);
    CreateStepButton(m_right, 2, record.rightStrip, record.rightPos, own);
    SetWindowPos(nullptr, m_windowRect.left, m_windowRect.top, m_windowRect.right - m_windowRect.left,
                 m_windowRect.bottom - m_windowRect.top, SWP_NOZORDER);
    return TRUE;
}

void CVSliderCtrlEx2::DrawChannel(Gdiplus::Graphics& graphics) {
    // The step buttons paint themselves: the channel leaves their places alone.
    for (CButtonEx* button : {&m_left, &m_right}) {
        if (!button->GetSafeHwnd())
            continue;
        RECT place;
        button->GetWindowRect(&place);
        ScreenToClient(&place);
        graphics.ExcludeClip(Gdiplus::Rect(place.left, place.top, place.right - place.left, place.bottom - place.top));
    }
    CVSliderCtrlEx::DrawChannel(graphics);
}

void CVSliderCtrlEx2::xDraw() {
    CVSliderCtrlEx::xDraw();
    for (CButtonEx* button : {&m_left, &m_right})
        if (button->GetSafeHwnd())
            button->Invalidate(FALSE);
}

void CVSliderCtrlEx2::OnLButtonDown(UINT flags, CPoint point) {
    if (HitThumb(point.x, point.y)) {
        CVSliderCtrlEx::OnLButtonDown(flags, point);
        return;
    }
    if (!InWidenedRange(point, (m_thumbHeight + 1) / 2))
        return;
    int pos = GetPos();
    int code;
    if (point.y >= m_thumbRect.bottom) {
        pos += 2;
        code = SB_PAGEDOWN;
    } else if (point.y < m_thumbRect.top) {
        pos -= 2;
        code = SB_PAGEUP;
    } else {
        return; // on the thumb's rows but off its opaque pixels: the position stays, nothing is told
    }
    if (pos < GetRangeMin())
        pos = GetRangeMin();
    if (pos > GetRangeMax())
        pos = GetRangeMax();
    SetPos(pos);
    PostScroll(code);
}

void CVSliderCtrlEx2::OnStepUp() {
    if (GetPos() <= GetRangeMin())
        return;
    SetPos(GetPos() - 1);
    PostScroll(SB_LINEUP);
}

void CVSliderCtrlEx2::OnStepDown() {
    if (GetPos() >= GetRangeMax())
        return;
    SetPos(GetPos() + 1);
    PostScroll(SB_LINEDOWN);
}
