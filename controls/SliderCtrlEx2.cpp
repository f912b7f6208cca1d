// CSliderCtrlEx2: the slider with a step button at each end (IDs 1 and 2, children of the slider); a
// click on the track beside the thumb pages by a fixed step.
#include "SliderCtrlEx.h"

#include "SliderSettings.h"
#include "SliderTrack.h"

#include <qelImage.h>

#include <initializer_list>

IMPLEMENT_DYNAMIC(CSliderCtrlEx2, CSliderCtrlEx)

BEGIN_MESSAGE_MAP(CSliderCtrlEx2, CSliderCtrlEx)
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(1, OnClickLeft)
    ON_COMMAND(2, OnClickRight)
END_MESSAGE_MAP()

namespace {
constexpr int kPageStep = 10;
constexpr UINT kLeftId = 1;
constexpr UINT kRightId = 2;
} // namespace

CSliderCtrlEx2::CSliderCtrlEx2() = default;
CSliderCtrlEx2::~CSliderCtrlEx2() = default;

bool CSliderCtrlEx2::EnsureButton(CButtonEx& button, UINT id, bool create) {
    if (!button.GetSafeHwnd() && create)
        button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 10, 10), this, id);
    return button.GetSafeHwnd() != NULL;
}

void CSliderCtrlEx2::PlaceButton(CButtonEx& button, POINT point) {
    button.SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOOWNERZORDER);
}

int CSliderCtrlEx2::LoadSetting(const char* folder, const char* iniFile, const char* section) {
    // The step buttons are set up even when the images fail, but the failure is still reported.
    const int loaded = CSliderCtrlEx::LoadSetting(folder, iniFile, section);
    const qel_controls::SliderSettingsFile file(folder, iniFile, section);
    struct Side {
        CButtonEx& button;
        UINT id;
        const char* posKey;
        const char* imageKey;
    };
    for (const Side& side : {Side{m_leftButton, kLeftId, "l_pos", "l_image"},
                             Side{m_rightButton, kRightId, "r_pos", "r_image"}}) {
        POINT point = {};
        const bool hasPos = file.ReadPoint(side.posKey, &point);
        if (!EnsureButton(side.button, side.id, hasPos))
            continue;
        CString image;
        if (file.ReadPath(side.imageKey, &image))
            side.button.LoadBitmapA(image);
        side.button.SetBkColor(m_bgColor);
        if (hasPos)
            PlaceButton(side.button, point);
    }
    return loaded;
}

int CSliderCtrlEx2::LoadSetting(_SLDCTRLEX2& record) {
    if (!LoadBitmapA(record.channelFile, record.thumbFile))
        return 0;
    ApplyRecord(record.thumbRange, record.border, record.min, record.max, record.pos);
    struct Side {
        CButtonEx& button;
        UINT id;
        POINT point;
        const char* file;
    };
    for (const Side& side : {Side{m_leftButton, kLeftId, record.leftPos, record.leftFile},
                             Side{m_rightButton, kRightId, record.rightPos, record.rightFile}}) {
        if (!EnsureButton(side.button, side.id, true))
            continue;
        side.button.SetBkColor(m_bgColor);
        if (side.file[0])
            side.button.LoadBitmapA(side.file);
        PlaceButton(side.button, side.point);
    }
    PlaceWindow(record.rect);
    return 1;
}

int CSliderCtrlEx2::LoadSetting(_tagSLDCTRLEX2BUF& record, BOOL own) {
    if (!LoadBitmapA(record.channel, record.thumb, own))
        return 0;
    ApplyRecord(record.thumbRange, record.border, record.min, record.max, record.pos);
    struct Side {
        CButtonEx& button;
        UINT id;
        POINT point;
        CImageArray* strip;
    };
    for (const Side& side : {Side{m_leftButton, kLeftId, record.leftPos, record.leftStrip},
                             Side{m_rightButton, kRightId, record.rightPos, record.rightStrip}}) {
        if (!side.strip || !EnsureButton(side.button, side.id, true))
            continue;
        side.button.SetBkColor(m_bgColor);
        side.button.LoadBitmapA(side.strip, own);
        PlaceButton(side.button, side.point);
    }
    PlaceWindow(record.rect);
    return 1;
}

void CSliderCtrlEx2::SetRightPos(CPoint point) {
    if (m_rightButton.GetSafeHwnd())
        PlaceButton(m_rightButton, point);
}

BOOL CSliderCtrlEx2::EnableWindow(BOOL enable) {
    if (m_leftButton.GetSafeHwnd())
        m_leftButton.EnableWindow(enable);
    if (m_rightButton.GetSafeHwnd())
        m_rightButton.EnableWindow(enable);
    return CWnd::EnableWindow(enable);
}

void CSliderCtrlEx2::DrawChannel(Gdiplus::Graphics& graphics) {
    // The buttons are children without clipping: keep the channel off them.
    for (CButtonEx* button : {&m_leftButton, &m_rightButton}) {
        if (!button->GetSafeHwnd())
            continue;
        CRect rect;
        button->GetWindowRect(&rect);
        ScreenToClient(&rect);
        graphics.SetClip(Gdiplus::Rect(rect.left, rect.top, rect.Width(), rect.Height()),
                         Gdiplus::CombineModeExclude);
    }
    CSliderCtrlEx::DrawChannel(graphics);
}

void CSliderCtrlEx2::xDraw() {
    CSliderCtrlEx::xDraw();
    for (CButtonEx* button : {&m_leftButton, &m_rightButton})
        if (button->GetSafeHwnd())
            button->Invalidate(FALSE);
}

void CSliderCtrlEx2::OnLButtonDown(UINT flags, CPoint point) {
    if (xHitThum(point)) {
        CSliderCtrlEx::OnLButtonDown(flags, point);
        return;
    }
    if (!InWidenedTrack(point))
        return;
    const int direction = qel_controls::PageDirection(m_thumbRect.left, m_thumbRect.right, point.x);
    SetPos(qel_controls::PagedPos(GetPos(), direction, kPageStep, GetRangeMin(), GetRangeMax()));
    // Reversed from the base slider's page codes, as the program expects.
    PostScroll(direction > 0 ? TB_PAGEUP : TB_PAGEDOWN);
}

void CSliderCtrlEx2::OnClickLeft() {
    if (GetPos() > GetRangeMin()) {
        SetPos(GetPos() - 1);
        PostScroll(TB_LINEDOWN);
    }
}

void CSliderCtrlEx2::OnClickRight() {
    if (GetPos() < GetRangeMax()) {
        SetPos(GetPos() + 1);
        PostScroll(TB_LINEUP);
    }
}
