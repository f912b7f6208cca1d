// CFrameWnd: the main frame, loaded from one resource id; it deletes itself when its window is gone.
#include "afxwin.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

const DWORD kFrameOnlyStyles = FWS_ADDTOTITLE; // the layer's own bits, never given to Windows

LPCSTR FrameClass(HICON icon) {
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
}

} // namespace

CFrameWnd::CFrameWnd() : m_nIDHelp(0) {}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = FrameClass(nullptr);
    cs.style &= ~kFrameOnlyStyles;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       LPCSTR menuName, DWORD exStyle, CCreateContext* /*context*/) {
    HMENU menu = menuName ? ::LoadMenuA(AfxGetResourceHandle(), menuName) : nullptr;
    const bool defaultPlace = rect.left == CW_USEDEFAULT;
    if (!CreateEx(exStyle, className, title, style, rect.left, rect.top,
                  defaultPlace ? CW_USEDEFAULT : rect.right - rect.left,
                  defaultPlace ? CW_USEDEFAULT : rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                  menu, nullptr)) {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    m_nIDHelp = resourceId;
    // The title is the resource string up to its first line break; the class icon is the program's own.
    CString title;
    title.LoadString(resourceId);
    const int lineBreak = title.Find('\n');
    if (lineBreak >= 0)
        title = title.Left(lineBreak);
    HICON icon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(resourceId));
    LPCSTR menuName = nullptr;
    if (::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), reinterpret_cast<LPCSTR>(RT_MENU)))
        menuName = MAKEINTRESOURCEA(resourceId);
    if (!Create(FrameClass(icon), title, style, rectDefault, parent, menuName, 0, context))
        return FALSE;
    if (icon) {
        SetIcon(icon, TRUE);
        SetIcon(icon, FALSE);
    }
    return TRUE;
}

void CFrameWnd::ActivateFrame(int cmdShow) {
    ShowWindow(cmdShow == -1 ? SW_SHOW : cmdShow);
    BringWindowToTop();
}

void CFrameWnd::RecalcLayout(BOOL) {}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}
