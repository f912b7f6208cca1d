// CPhotoWnd's mode, class cursor and pan drag; CPhotoWnd2's dropper and its three posted messages.
#include <objidl.h>
#include <gdiplus.h>

#include "PhotoWnd.h"

#include "LibraryModule.h"

#include <qelImage.h>

void CPhotoWnd::SetClassCursor(HCURSOR cursor) {
    if (GetSafeHwnd())
        SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

void CPhotoWnd::SetSelMode(int mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    if (mode == 1) {
        const CSize zoomed = GetZoomSize(m_zoom);
        CRect client;
        if (GetSafeHwnd())
            GetClientRect(&client);
        m_pannable = ShownImage() && (zoomed.cx > client.Width() || zoomed.cy > client.Height());
    }
    SetCurCursor();
}

void CPhotoWnd::SetCurCursor() {
    SetClassCursor(m_mode == 1 && m_pannable ? m_panCursor : LoadCursorA(NULL, IDC_ARROW));
}

void CPhotoWnd::OnDestroy() {
    SetClassCursor(LoadCursorA(NULL, IDC_ARROW)); // the class outlives this view
    CWnd::OnDestroy();
}

void CPhotoWnd::BeginPan(CPoint point) {
    if (m_mode != 1)
        return;
    SetCapture();
    m_dragStart = point;
    m_panOrigin = m_offset;
}

void CPhotoWnd::ContinuePan(CPoint point) {
    if (m_mode != 1 || GetCapture() != this)
        return;
    const CPoint d(static_cast<int>((m_dragStart.x - point.x) * 100 / m_zoom),
                   static_cast<int>((m_dragStart.y - point.y) * 100 / m_zoom));
    SetOffset(CPoint(m_panOrigin.x + d.x, m_panOrigin.y + d.y), TRUE); // the image follows the mouse
}

void CPhotoWnd::OnLButtonDown(UINT, CPoint point) {
    BeginPan(point);
    Default();
}

void CPhotoWnd::OnMouseMove(UINT, CPoint point) {
    ContinuePan(point);
    Default();
}

void CPhotoWnd::OnLButtonUp(UINT, CPoint) {
    if (GetCapture() == this)
        ReleaseCapture();
    Default();
}

LRESULT CPhotoWnd::OnMouseLeave(WPARAM, LPARAM) { return 0; }

BEGIN_MESSAGE_MAP(CPhotoWnd2, CPhotoWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CPhotoWnd2::CPhotoWnd2()
    : m_dropperCursor(LoadCursorA(qel_controls::LibraryModule(), MAKEINTRESOURCEA(IDC_QEL_DROPPER_CURSOR))),
      m_tracking(FALSE), m_dropper(FALSE) {}

CPhotoWnd2::~CPhotoWnd2() = default;

void CPhotoWnd2::SetSelMode(int mode) {
    if (mode != m_mode)
        CPhotoWnd::SetSelMode(mode);
}

void CPhotoWnd2::SetCurCursor() {
    if (m_dropper)
        SetClassCursor(m_dropperCursor);
    else
        CPhotoWnd::SetCurCursor();
}

void CPhotoWnd2::SetDropper(BOOL on) {
    m_dropper = on;
    SetCurCursor();
}

void CPhotoWnd2::OnLButtonDown(UINT flags, CPoint point) {
    if (m_dropper)
        return;
    CPhotoWnd::OnLButtonDown(flags, point);
    if (m_mode == 1)
        ::PostMessageA(NotifyTarget(), WM_QEL_PHOTOWND2_PANDOWN, MAKELONG(point.x, point.y), 0);
}

void CPhotoWnd2::OnMouseMove(UINT flags, CPoint point) {
    if (!m_dropper)
        CPhotoWnd::OnMouseMove(flags, point);
}

void CPhotoWnd2::OnLButtonUp(UINT, CPoint point) {
    if (GetCapture() == this)
        ReleaseCapture();
    Default();
    if (m_dropper) {
        const int x = m_offset.x + static_cast<int>(point.x * 100 / m_zoom);
        const int y = m_offset.y + static_cast<int>(point.y * 100 / m_zoom);
        ::PostMessageA(NotifyTarget(), WM_QEL_PHOTOWND2_DROPPERPOS, MAKELONG(x, y), 0);
    } else {
        ::PostMessageA(NotifyTarget(), WM_QEL_PHOTOWND2_PANUP, MAKELONG(point.x, point.y), 0);
    }
}

LRESULT CPhotoWnd2::OnMouseLeave(WPARAM, LPARAM) { return 0; }
