// CScrollPanel: scroll bars shown, disabled or hidden by the mode and the view size, and the content
// panel moved with them.
#include "Panel.h"

#include "ScrollRules.h"

IMPLEMENT_DYNAMIC(CScrollPanel, CPanel)

BEGIN_MESSAGE_MAP(CScrollPanel, CPanel)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
constexpr int kBars[2] = {SB_HORZ, SB_VERT};
}

CScrollPanel::CScrollPanel()
    : m_viewSize(0, 0), m_panel(NULL), m_scrollPos{0, 0}, m_scrollMax{0, 0}, m_scrollPage{0, 0},
      m_allowed{TRUE, TRUE}, m_whenNeeded{TRUE, TRUE}, m_keepRelative(TRUE) {}

CScrollPanel::~CScrollPanel() {
    delete m_panel; // through its virtual destructor
}

BOOL CScrollPanel::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CPanel::PreCreateWindow(cs);
}

int CScrollPanel::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_viewSize = CSize(cs->cx, cs->cy);
    ShowScrollBar(SB_BOTH, FALSE);
    xSetViewSize(cs->cx, cs->cy);
    return 0;
}

void CScrollPanel::SetPanel(CPanel* panel) {
    if (m_panel != panel)
        delete m_panel;
    m_panel = panel;
}

void CScrollPanel::SetScrollMode(WORD mode) {
    if (mode & 1)
        mode |= 2 | 4;
    m_allowed[0] = !(mode & 8);
    m_allowed[1] = !(mode & 1);
    m_whenNeeded[0] = !(mode & 2);
    m_whenNeeded[1] = !(mode & 4);
    m_keepRelative = (mode & 1) != 0;
    if (!GetSafeHwnd())
        return;
    if (mode & 2)
        xEnableScrollBar(SB_HORZ, FALSE);
    if (mode & 4)
        xEnableScrollBar(SB_VERT, FALSE);
    if (mode & 8)
        ShowScrollBar(SB_HORZ, FALSE);
    if (mode & 1)
        ShowScrollBar(SB_VERT, FALSE);
}

void CScrollPanel::xSetScrollInfo(int bar, BOOL redraw) {
    const int axis = bar == SB_VERT ? 1 : 0;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = m_scrollMax[axis];
    info.nPage = static_cast<UINT>(m_scrollPage[axis]);
    info.nPos = m_scrollPos[axis];
    SetScrollInfo(bar, &info, redraw);
}

void CScrollPanel::xEnableScrollBar(int bar, BOOL enable) {
    ShowScrollBar(bar, TRUE);
    EnableScrollBar(bar, enable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

int CScrollPanel::xSetViewSize(int cx, int cy) {
    m_viewSize = CSize(cx, cy);
    if (!GetSafeHwnd())
        return 0;
    CRect window;
    GetWindowRect(&window);
    const int view[2] = {cx, cy};
    const int windowExtent[2] = {window.Width(), window.Height()};
    int visible[2] = {windowExtent[0], windowExtent[1]};
    int content[2] = {windowExtent[0], windowExtent[1]};
    int offset[2] = {0, 0};
    // The horizontal bar takes height, the vertical one width.
    const int thickness[2] = {GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CXVSCROLL)};
    bool takesRoom[2];
    for (int axis = 0; axis < 2; ++axis)
        takesRoom[axis] = m_allowed[axis] && (windowExtent[axis] < view[axis] || !m_whenNeeded[axis]);
    if (m_allowed[0] && m_allowed[1])
        for (int axis = 0; axis < 2; ++axis)
            if (takesRoom[axis])
                visible[1 - axis] -= thickness[axis];

    for (int axis = 0; axis < 2; ++axis) {
        const int bar = kBars[axis];
        if (!m_allowed[axis] || view[axis] <= visible[axis]) {
            m_scrollPos[axis] = 0;
            m_scrollMax[axis] = 0;
            if (takesRoom[1 - axis])
                content[axis] -= thickness[1 - axis];
            xSetScrollInfo(bar, FALSE);
            if (m_allowed[axis] && !m_whenNeeded[axis])
                xEnableScrollBar(bar, FALSE);
            else
                ShowScrollBar(bar, FALSE);
            continue;
        }
        content[axis] = view[axis] - 1;
        m_scrollPos[axis] = qel_controls::RescrolledPosition(m_scrollPos[axis], m_scrollMax[axis], view[axis],
                                                             visible[axis], m_keepRelative != FALSE);
        m_scrollMax[axis] = content[axis];
        m_scrollPage[axis] = visible[axis];
        if (!m_whenNeeded[axis])
            EnableScrollBar(bar, ESB_ENABLE_BOTH);
        xSetScrollInfo(bar, TRUE);
        ShowScrollBar(bar, TRUE);
        offset[axis] = -m_scrollPos[axis];
    }
    if (m_panel && m_panel->GetSafeHwnd())
        m_panel->SetWindowPos(NULL, offset[0], offset[1], content[0], content[1], SWP_NOZORDER);
    return 1;
}

namespace {

bool Scroll(int* pos, UINT code, UINT thumb, int scrollMax, int page) {
    const int next = qel_controls::ScrolledPosition(*pos, static_cast<int>(code), static_cast<int>(thumb), scrollMax, page);
    const bool changed = next != *pos;
    *pos = next;
    return changed;
}

} // namespace

BOOL CScrollPanel::xHScroll(UINT code, UINT thumb) {
    return Scroll(&m_scrollPos[0], code, thumb, m_scrollMax[0], m_scrollPage[0]);
}

BOOL CScrollPanel::xVScroll(UINT code, UINT thumb) {
    return Scroll(&m_scrollPos[1], code, thumb, m_scrollMax[1], m_scrollPage[1]);
}

void CScrollPanel::ScrollTo(int axis, int oldPos) {
    const int delta = oldPos - m_scrollPos[axis];
    ::ScrollWindowEx(m_hWnd, axis == 0 ? delta : 0, axis == 1 ? delta : 0, NULL, NULL, NULL, NULL,
                     SW_SCROLLCHILDREN | SW_INVALIDATE);
    UpdateWindow();
    SetScrollPos(kBars[axis], m_scrollPos[axis], TRUE);
}

void CScrollPanel::OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
    const int old = m_scrollPos[0];
    if (xHScroll(code, pos))
        ScrollTo(0, old);
    CWnd::OnHScroll(code, pos, bar);
}

void CScrollPanel::OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
    const int old = m_scrollPos[1];
    if (xVScroll(code, pos))
        ScrollTo(1, old);
    CWnd::OnVScroll(code, pos, bar);
}
