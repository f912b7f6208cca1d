// CButtonEx2: the command goes to the parent on the press; the standard click never completes.
#include "ButtonEx.h"

IMPLEMENT_DYNAMIC(CButtonEx2, CButtonEx)

BEGIN_MESSAGE_MAP(CButtonEx2, CButtonEx)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CButtonEx2::CButtonEx2() : m_pressed(FALSE) {}
CButtonEx2::~CButtonEx2() = default;

void CButtonEx2::OnLButtonDown(UINT flags, CPoint point) {
    // Like every button of the library, a button whose own flag is off fires no command.
    if (!m_enabled)
        return;
    CButtonEx::OnLButtonDown(flags, point);
    if (CWnd* parent = GetParent()) {
        m_pressed = TRUE;
        parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetWindowLongA(m_hWnd, GWL_ID), 0), 0);
    }
    ReleaseCapture();
}

void CButtonEx2::OnLButtonUp(UINT flags, CPoint point) {
    m_pressed = FALSE;
    if (m_enabled)
        CButtonEx::OnLButtonUp(flags, point);
}

void CButtonEx2::OnClicked() {}
