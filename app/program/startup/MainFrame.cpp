#include "MainFrame.h"

#include <qelImage.h>

#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "SplashWindow.h"
#include "StartSizeMode.h"
#include "WindowOutline.h"
#include "resource.h"

namespace {

const char kFrameClass[] = "ZENTRIK_CLASSNAME";

} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_SIZE()
    ON_WM_MOVING()
    ON_WM_ACTIVATE()
    ON_REGISTERED_MESSAGE(g_zentrikMessage, OnZentrikMessage)
    ON_MESSAGE(WM_ZENTRIK_VIDEO_SETTINGS, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_CAMERA_CHOSEN, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_RESOLUTION_TEXT, OnForwardToDialog)
    ON_MESSAGE(0x1403, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_ITEM_OPEN, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_ITEM_CLICK, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_PLAY_PROGRESS, OnForwardToDialog)
    ON_MESSAGE(WM_ZENTRIK_SIZE_MODE, OnSizeMode)
    ON_MESSAGE(WM_ZENTRIK_CLOSE, OnCloseRequest)
    ON_MESSAGE(WM_ZENTRIK_IGNORED, OnIgnored)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMainFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    WNDCLASSA existing = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kFrameClass, &existing)) {
        WNDCLASSA wc = {};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_ZENTRIK));
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kFrameClass;
        if (!::RegisterClassA(&wc))
            return FALSE;
    }
    g_windowTitle.LoadString(IDS_TITLE);
    cs.hMenu = nullptr;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style = WS_POPUP | WS_VISIBLE;
    cs.x = 0;
    cs.y = 0;
    cs.cx = 850; // replaced at once by the size mode
    cs.cy = 616;
    cs.lpszName = g_windowTitle;
    cs.lpszClass = kFrameClass;
    return TRUE;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Power and screen-saver requests belong to the main dialog, which keeps the screen awake.
    const bool screenRequest =
        message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER);
    if ((message == WM_POWERBROADCAST || screenRequest) && m_dialog.GetSafeHwnd())
        return m_dialog.WindowProc(message, wParam, lParam);
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    RECT none = {};
    CSplashWindow::ShowSplashScreen(this, -1, none);
    if (!m_dialog.Create(IDD_MAIN, this))
        return -1;
    m_dialog.ShowWindow(SW_SHOWNORMAL);
    // The dialog chose the mode whose window fits the screen (the saved one where it fits).
    ApplySizeMode(m_dialog.SizeMode());
    return 0;
}

void CMainFrame::ApplySizeMode(int mode) {
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", BackgroundKey(mode ? 1 : 0), "", file, sizeof file, g_skinSettingsPath);
    const CString path = g_skinFolder + file;
    m_background = std::make_unique<CImage>();
    LoadSkinPicture(m_background.get(), path); // a skin without it gives a 0 x 0 window
    m_dialog.SetBackgroundImage(path);
    SetWindowOutline(m_hWnd, *m_background);
    const int w = static_cast<int>(m_background->Width());
    const int h = static_cast<int>(m_background->Height());
    // Centred in the work area where it fits; where it does not, its title band stays on the screen.
    const POINT place = WindowPlace(SIZE{w, h}, ScreenWorkArea());
    m_dialog.ShowCapturePreview();
    MoveWindow(place.x, place.y, w, h, TRUE);
    // The whole frame, its dialog and their controls: a moved window is not repainted on every system.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

BOOL CMainFrame::OnEraseBkgnd(CDC* dc) { return CFrameWnd::OnEraseBkgnd(dc); }

void CMainFrame::OnPaint() {
    // Begin and end painting validate the frame alone: its dialog still gets its own paint (a
    // validated rectangle would take the dialog's update region with it).
    PAINTSTRUCT paint;
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
}

void CMainFrame::OnSetFocus(CWnd*) {
    if (m_dialog.GetSafeHwnd())
        m_dialog.SetFocus();
}

void CMainFrame::OnSize(UINT type, int, int) {
    if (type == SIZE_RESTORED && m_dialog.GetSafeHwnd())
        m_dialog.ShowWindow(SW_RESTORE);
}

void CMainFrame::OnMoving(UINT, LPRECT rect) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
}

void CMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CFrameWnd::OnActivate(state, other, minimized);
    if (state == WA_ACTIVE || state == WA_CLICKACTIVE)
        ShowWindow(SW_SHOWNORMAL);
}

LRESULT CMainFrame::OnZentrikMessage(WPARAM wParam, LPARAM lParam) {
    return m_dialog.SendMessage(WM_ZENTRIK_EXTERNAL_KEY, wParam, lParam);
}

LRESULT CMainFrame::OnForwardToDialog(WPARAM wParam, LPARAM lParam) {
    const MSG* current = GetCurrentMessage();
    return m_dialog.SendMessage(current->message, wParam, lParam);
}

LRESULT CMainFrame::OnSizeMode(WPARAM wParam, LPARAM) {
    ApplySizeMode(static_cast<int>(wParam));
    return 0;
}

LRESULT CMainFrame::OnCloseRequest(WPARAM, LPARAM) {
    m_dialog.SendMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnIgnored(WPARAM, LPARAM) { return 0; }
