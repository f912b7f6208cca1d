// Moving the borderless window by its top band, and the two combo boxes of the dialog template.
#include "MainDlg.h"

#include <cstdio>

#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "ViewerRules.h"
#include "resource.h"

void CMainDlg::OnLButtonDown(UINT flags, CPoint point) {
    CDialog::OnLButtonDown(flags, point);
    POINT screen = point;
    ClientToScreen(&screen);
    if (::DragDetect(m_hWnd, screen) && InDragBand(point.x, point.y)) {
        m_dragState = 1;
        m_dragX = point.x;
        m_dragY = point.y;
    }
}

void CMainDlg::DragMoveTo(CPoint point, WPARAM done) {
    RECT place;
    GetWindowRect(&place);
    ::OffsetRect(&place, point.x - m_dragX, point.y - m_dragY);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_MOVING, done, reinterpret_cast<LPARAM>(&place));
}

void CMainDlg::OnMouseMove(UINT flags, CPoint point) {
    if (m_dragState) {
        if (GetCapture() != this)
            SetCapture();
        DragMoveTo(point, 0);
    }
    CDialog::OnMouseMove(flags, point);
}

void CMainDlg::OnLButtonUp(UINT flags, CPoint point) {
    if (m_dragState) {
        DragMoveTo(point, 1);
        ::ReleaseCapture();
    }
    m_dragState = 0;
    CDialog::OnLButtonUp(flags, point);
}

void CMainDlg::OnResolutionChange() {
    // The template's combo box, not bound to a member.
    HWND list = ::GetDlgItem(m_hWnd, IDC_RESOLUTION_COMBO);
    const LRESULT chosen = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || ::SendMessageA(list, CB_GETLBTEXTLEN, chosen, 0) >= 64)
        return;
    char text[64] = {};
    ::SendMessageA(list, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text));
    RECT combo;
    ::GetWindowRect(list, &combo);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&combo), 2);
    RedrawWindow(&combo);
    int width = 0, height = 0;
    if (std::sscanf(text, "%dx%d", &width, &height) != 2)
        return;
    CaptureSettings& settings = m_capture.Settings();
    if (width == settings.outputWidth && height == settings.outputHeight)
        return;
    SkinLabel(&m_stInit, "Init", IDS_WAITING, m_sizeMode);
    m_stInit.ShowWindow(SW_SHOW);
    m_stInit.UpdateWindow();
    settings.outputWidth = width;
    settings.outputHeight = height;
    if (IsOfferedCaptureSize(width, height))
        m_capture.SetCaptureSize(width, height);
    if (!m_capture.WriteOutputSize(width, height))
        AfxShowMessageBox(m_hWnd, "The resolution could not be saved.", "Error", MB_OK);
    m_stInit.ShowWindow(SW_HIDE);
}

BOOL CMainDlg::IsOfferedCaptureSize(int width, int height) const {
    const DWORD size = MAKELONG(width, height);
    for (INT_PTR i = 0; i < g_captureSizes.GetSize(); ++i)
        if (g_captureSizes.GetAt(i) == size)
            return TRUE;
    return FALSE;
}

void CMainDlg::OnVideoFormatChange() {
    const int chosen = static_cast<int>(m_cboVideoFormat.SendMessage(CB_GETCURSEL));
    if (chosen < 0)
        return;
    m_capture.ChooseRecordFormat(chosen);
    if (!m_capture.WriteVideoFileType(chosen))
        AfxShowMessageBox(m_hWnd, "The video format could not be saved.", "Error", MB_OK);
}
