// Check boxes and radio buttons: six-frame strips, the caption after the image, toggling on release.
#include "CheckEx.h"

#include "ButtonLook.h"

#include <qelImage.h>

#include "StripFile.h"

IMPLEMENT_DYNAMIC(CCheckEx, CButtonEx)
IMPLEMENT_DYNAMIC(CCheckEx2, CCheckEx)

BEGIN_MESSAGE_MAP(CCheckEx, CButtonEx)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CCheckEx2, CCheckEx)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// A radio button's click takes the push-button path: the owner decides which one is checked.
BEGIN_MESSAGE_MAP(CRadioEx, CButtonEx)
END_MESSAGE_MAP()

CCheckEx::CCheckEx() : m_armed(FALSE) {
    m_frameCount = 6;
    m_textAlignment = 0;
    m_buttonType = 0;
    m_textOffset = 0;
}
CCheckEx::~CCheckEx() = default;

void CCheckEx::SetCheck(BOOL check) {
    const bool changed = m_checked != check;
    m_checked = check;
    if (changed && GetSafeHwnd())
        Invalidate(FALSE);
}

BOOL CCheckEx::GetCheck() { return m_checked; }

int CCheckEx::LoadBitmapA(CImageArray* strip, BOOL own) {
    if (!strip)
        return 0;
    if (strip != m_strip) // the strip it already holds stays alive
        ReleaseStrip();
    m_strip = strip;
    m_ownStrip = own;
    m_imageInset = GetWidth(); // the window keeps its size: the caption sits beside the image
    return 1;
}

int CCheckEx::LoadBitmapA(const char* file) {
    CImageArray* strip = qel_controls::LoadReadableStrip(file, 1);
    if (!strip)
        return 0; // the check box keeps its strip
    ReleaseStrip();
    m_ownStrip = TRUE;
    m_strip = strip;
    m_imageInset = GetWidth();
    return 1;
}

void CCheckEx::OnLButtonDown(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    m_armed = TRUE;
    CButtonEx::OnLButtonDown(flags, point);
}

bool CCheckEx::ReleaseToggles(CPoint point) {
    const bool armed = m_armed != FALSE;
    m_armed = FALSE;
    CRect client;
    GetClientRect(&client);
    return armed && client.PtInRect(point);
}

void CCheckEx::OnLButtonUp(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    if (ReleaseToggles(point))
        SetCheck(!GetCheck());
    CButtonEx::OnLButtonUp(flags, point); // the standard button then reports BN_CLICKED
}

CCheckEx2::CCheckEx2() = default;
CCheckEx2::~CCheckEx2() = default;

void CCheckEx2::OnLButtonDown(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    m_armed = TRUE;
    ReleaseCapture();
    CButtonEx::OnLButtonDown(flags, point);
}

void CCheckEx2::OnLButtonUp(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    if (ReleaseToggles(point)) {
        m_checked = !m_checked;
        SendMessage(BM_SETCHECK, m_checked, 0);
        Invalidate(FALSE);
    }
    CButtonEx::OnLButtonUp(flags, point);
}

CRadioEx::CRadioEx() {
    m_textAlignment = 0;
    m_buttonType = 0;
}
CRadioEx::~CRadioEx() = default;

void CRadioEx::SetCheck(BOOL check) {
    m_checked = check;
    if (!GetSafeHwnd())
        return;
    SendMessage(BM_SETCHECK, check, 0);
    Invalidate(FALSE);
}
