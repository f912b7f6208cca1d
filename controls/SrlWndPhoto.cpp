// CSrlWndPhoto: the photo view panned with the standard scroll bars; one scroll unit is one zoomed pixel.
#include <objidl.h>
#include <gdiplus.h>

#include "PhotoWnd.h"

#include <qelImage.h>

BEGIN_MESSAGE_MAP(CSrlWndPhoto, CPhotoWnd)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CSrlWndPhoto::CSrlWndPhoto() : m_useScroll(FALSE) {}
CSrlWndPhoto::~CSrlWndPhoto() = default;

BOOL CSrlWndPhoto::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorA(NULL, IDC_ARROW), NULL, NULL);
    return TRUE;
}

BOOL CSrlWndPhoto::Create(const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, NULL, "Photo Window", WS_CHILD | WS_CLIPSIBLINGS, rect, parent, id);
}

void CSrlWndPhoto::UseScroll(BOOL use) {
    m_useScroll = use;
    if (GetSafeHwnd())
        ModifyStyle(use ? 0 : WS_HSCROLL | WS_VSCROLL, use ? WS_HSCROLL | WS_VSCROLL : 0);
}

void CSrlWndPhoto::Refresh() {
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    ShowScrollBar(SB_BOTH, m_useScroll);
}

void CSrlWndPhoto::SetZoom(float zoom) {
    CRect area;
    if (TakeZoom(zoom, false, area))
        OnParentSize(area.Width(), area.Height());
}

void CSrlWndPhoto::PlaceAxis(int bar, int area, int zoomed, int scrollBarSize, int offset, int& extent, int& start) {
    if (area < zoomed + scrollBarSize) {
        m_pannable = TRUE;
        extent = area;
        start = 0;
        if (m_useScroll) {
            SCROLLINFO info = {};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = zoomed;
            info.nPage = static_cast<UINT>(area);
            info.nPos = static_cast<int>(offset * m_zoom / 100);
            SetScrollInfo(bar, &info, TRUE);
            ShowScrollBar(bar, TRUE);
        }
    } else {
        extent = zoomed;
        start = (area - zoomed) / 2;
        if (m_useScroll)
            ShowScrollBar(bar, FALSE);
    }
}

void CSrlWndPhoto::OnParentSize(int cx, int cy) {
    CImage* image = ShownImage();
    if (!image || !GetSafeHwnd())
        return;
    m_fitToWindow = FALSE;
    m_pannable = FALSE;
    const int zw = static_cast<int>(image->Width() * m_zoom / 100);
    const int zh = static_cast<int>(image->Height() * m_zoom / 100);
    int vw = 0, vh = 0, x = 0, y = 0;
    PlaceAxis(SB_HORZ, cx, zw, GetSystemMetrics(SM_CXHSCROLL), m_offset.x, vw, x);
    PlaceAxis(SB_VERT, cy, zh, GetSystemMetrics(SM_CXVSCROLL), m_offset.y, vh, y);
    FitOffset(zw, zh, vw, vh);
    if (!m_useScroll && m_mode == 1)
        SetClassCursor(m_pannable ? m_panCursor : LoadCursorA(NULL, IDC_ARROW));
    SetWindowPos(NULL, x, y, vw, vh, SWP_NOZORDER);
}

void CSrlWndPhoto::Scroll(int bar, UINT code, UINT thumb) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(bar, &info))
        return;
    int pos = info.nPos;
    const int page = static_cast<int>(info.nPage);
    switch (code) {
    case SB_LINELEFT:
        if (pos > info.nMin)
            --pos;
        break;
    case SB_LINERIGHT:
        if (pos < info.nMax)
            ++pos;
        break;
    case SB_PAGELEFT:
        if (pos > info.nMin)
            pos = pos - page > info.nMin ? pos - page : info.nMin;
        break;
    case SB_PAGERIGHT:
        if (pos < info.nMax)
            pos = pos + page < info.nMax ? pos + page : info.nMax;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pos = static_cast<int>(thumb);
        break;
    case SB_LEFT:
        pos = info.nMin;
        break;
    case SB_RIGHT:
        pos = info.nMax;
        break;
    case SB_ENDSCROLL:
        break;
    default:
        return;
    }
    CPoint offset = m_offset;
    (bar == SB_HORZ ? offset.x : offset.y) = static_cast<int>(pos * 100 / m_zoom);
    SetOffset(offset, TRUE);
    SetScrollPos(bar, pos, TRUE);
}

void CSrlWndPhoto::OnHScroll(UINT code, UINT pos, CScrollBar*) { Scroll(SB_HORZ, code, pos); }
void CSrlWndPhoto::OnVScroll(UINT code, UINT pos, CScrollBar*) { Scroll(SB_VERT, code, pos); }
