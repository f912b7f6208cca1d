#include "SplashWindow.h"

#include <qelImage.h>

#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "WindowOutline.h"

namespace {

CSplashWindow* g_currentSplash = nullptr;
BOOL g_splashEnabled = FALSE;
const UINT_PTR kSplashTimer = 1;

} // namespace

BEGIN_MESSAGE_MAP(CSplashWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CSplashWindow::CSplashWindow() = default;

CSplashWindow::~CSplashWindow() {
    if (g_currentSplash == this)
        g_currentSplash = nullptr;
}

CSplashWindow* CSplashWindow::Current() { return g_currentSplash; }

void CSplashWindow::EnableSplashScreen(BOOL enable) { g_splashEnabled = enable; }

void CSplashWindow::ShowSplashScreen(CWnd* parent, int kind, RECT place) {
    if (!g_splashEnabled || g_currentSplash)
        return;
    CSplashWindow* splash = new CSplashWindow;
    g_currentSplash = splash;
    const char* file = kind == 0 ? "Zentrik\\video_screen480.jpg"
                                 : kind == 1 ? "Zentrik\\video_screen320.jpg" : "Zentrik\\Splash.png";
    splash->m_fixedPlace = kind == 0 || kind == 1;
    splash->m_place = place;
    splash->m_picture = std::make_unique<CImage>();
    const CString path = g_skinFolder + file;
    // A picture larger than the screen is no splash: refused before it is decoded.
    const SIZE screen = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (LoadSkinPicture(splash->m_picture.get(), path, screen) != Gdiplus::Ok || !splash->Create(parent)) {
        // A window that was made deletes its object as it goes; the rest is deleted here.
        if (g_currentSplash == splash)
            delete splash;
        return;
    }
    SetWindowOutline(splash->m_hWnd, *splash->m_picture);
    splash->UpdateWindow();
}

BOOL CSplashWindow::Create(CWnd* parent) {
    LPCSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, windowClass, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, static_cast<int>(m_picture->Width()),
                    static_cast<int>(m_picture->Height()), parent ? parent->GetSafeHwnd() : nullptr, nullptr);
}

int CSplashWindow::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (m_fixedPlace) {
        MoveWindow(m_place.left, m_place.top, m_place.right - m_place.left, m_place.bottom - m_place.top);
        SetTimer(kSplashTimer, 3000);
    } else {
        CenterWindow();
        SetTimer(kSplashTimer, 750);
    }
    return 0;
}

void CSplashWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    {
        Gdiplus::Graphics graphics(dc);
        graphics.DrawImage(m_picture.get(), 0, 0, static_cast<INT>(m_picture->Width()),
                           static_cast<INT>(m_picture->Height()));
    }
    ::EndPaint(m_hWnd, &paint);
}

void CSplashWindow::OnTimer(UINT_PTR) { HideSplashScreen(); }

void CSplashWindow::HideSplashScreen() {
    CSplashWindow* splash = g_currentSplash;
    if (!splash)
        return;
    splash->KillTimer(kSplashTimer);
    splash->DestroyWindow(); // PostNcDestroy deletes the object, which clears the current pointer
    if (CWnd* main = AfxGetMainWnd())
        if (main->GetSafeHwnd())
            main->UpdateWindow();
}

BOOL CSplashWindow::PreTranslateAppMessage(MSG* msg) {
    CSplashWindow* splash = g_currentSplash;
    if (!splash || splash->m_fixedPlace)
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        HideSplashScreen();
        return TRUE;
    default:
        return FALSE;
    }
}

void CSplashWindow::PostNcDestroy() { delete this; }
