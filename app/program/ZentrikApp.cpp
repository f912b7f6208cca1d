#include "ZentrikApp.h"

#include <afxhook.h>

#include <PathHelpers.h>

#include "MainFrame.h"
#include "ProcessEnd.h"
#include "ProgramGlobals.h"
#include "SkinCheck.h"
#include "SkinLoader.h"
#include "SplashWindow.h"
#include "SystemChecks.h"
#include "resource.h"

CZentrikApp theApp;

namespace {

void ShowStartupText(HWND owner, const char* text) {
    CString caption;
    // A resource library without the program's strings still gives a box with a caption.
    if (!caption.LoadString(IDS_CAPTION) || caption.IsEmpty())
        caption = AfxGetApp()->m_pszAppName;
    AfxShowMessageBox(owner, text, caption, MB_OK);
}

void ShowStartupBox(UINT textId) {
    CString text;
    text.LoadString(textId);
    ShowStartupText(nullptr, text);
}

// Why the main window could not be made, for the user.
CString MainWindowFailureText(const CString& resourceLibrary) {
    CString text;
    if (AfxGetResourceHandle() != AfxGetInstanceHandle() &&
        !::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_MAIN), MAKEINTRESOURCEA(5)))
        text.Format("The main window could not be created: the resource library \"%s\" holds no main window. "
                    "The program ends.",
                    static_cast<const char*>(resourceLibrary));
    else
        text = "The main window could not be created. The program ends.";
    return text;
}

// A second start brings the running window up and ends in silence. Nothing here waits on the running
// copy: it may be busy for seconds (opening a camera), and the asynchronous show reaches it when it
// next serves its messages.
void ShowRunningInstance(HWND running) {
    ::ShowWindowAsync(running, SW_SHOWNORMAL);
    ::SetForegroundWindow(running);
}

// A skin that cannot give a usable window is refused before the camera is opened: the user is told
// which file and what is wrong, and the program ends.
bool SkinIsUsable() {
    const CString fault = FindSkinFault();
    if (fault.IsEmpty())
        return true;
    ShowStartupText(nullptr, SkinRefusalText(g_skinSettingsPath, fault));
    return false;
}

} // namespace

CZentrikApp::CZentrikApp() = default;

BOOL CZentrikApp::InitInstance() {
    AfxEnableControlContainer();
    // One instance: a second start only brings the first window up.
    if (HWND running = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr)) {
        ShowRunningInstance(running);
        return FALSE;
    }
    // A loadable D3D8 is enough.
    if (!IsDirectXLevelPresent(0x800)) {
        ShowStartupBox(IDS_NEED_DIRECTX);
        return FALSE;
    }
    int osClass = 0;
    GetOsClass(&osClass);
    if (!IsWmf9RuntimeInstalled() && osClass != 5)
        ShowStartupBox(IDS_NO_ASF); // recording ASF may fail later; the program runs on
    char folder[MAX_PATH] = {};
    ql_GetModulePath(m_hInstance, folder);
    CString programFolder = folder;
    if (programFolder.IsEmpty() || programFolder[programFolder.GetLength() - 1] != '\\')
        programFolder += '\\';
    InitSkinPaths(programFolder);
    // The resource library, when it lies beside the program, supplies every dialog, menu and string.
    const CString library = programFolder + "Tavorin.dll";
    CFileFind find;
    if (find.FindFile(library))
        if (HINSTANCE resources = ::LoadLibraryA(library))
            AfxSetResourceHandle(resources);
    if (!SkinIsUsable())
        return FALSE;
    CSplashWindow::EnableSplashScreen(TRUE);
    // Three-dimensional controls need no switching on: the system draws them so.
    CMainFrame* frame = new CMainFrame;
    m_pMainWnd = frame;
    // A frame that failed to load (its main dialog could not be made) is gone with its window: the
    // program ends rather than touch it, and says so rather than vanish.
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_VISIBLE, nullptr, nullptr)) {
        m_pMainWnd = nullptr;
        // The frame's end posted the quit message: taken out, or the box would close unseen.
        MSG quit;
        ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        ShowStartupText(nullptr, MainWindowFailureText(library));
        return FALSE;
    }
    frame->UpdateWindow();
    frame->ShowWindow(SW_SHOW);
    const CString unreadable = TakeUnreadableSkinImages();
    if (!unreadable.IsEmpty()) {
        CSplashWindow::HideSplashScreen(); // the box takes its place: a splash under a box would stay
        ShowStartupText(frame->m_hWnd, "These pictures of the skin cannot be read; their controls are drawn plain:\n\n" +
                                           unreadable);
    }
    return TRUE;
}

BOOL CZentrikApp::PreTranslateMessage(MSG* msg) {
    if (CSplashWindow::PreTranslateAppMessage(msg))
        return TRUE;
    if (msg->message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0) {
        CMainFrame* frame = static_cast<CMainFrame*>(m_pMainWnd);
        if (frame && frame->MainDialog().GetSafeHwnd()) {
            switch (msg->wParam) {
            case VK_LEFT:
                frame->MainDialog().RotateKey(1);
                break;
            case VK_RIGHT:
                frame->MainDialog().RotateKey(0);
                break;
            case VK_UP:
                frame->MainDialog().FlipKey(0);
                break;
            case VK_DOWN:
                frame->MainDialog().FlipKey(1);
                break;
            default:
                break;
            }
        }
    }
    return CWinApp::PreTranslateMessage(msg);
}

int CZentrikApp::ExitInstance() {
    const int code = CWinApp::ExitInstance();
    // The frame went with its dialog and the capture controller, which wrote the settings and the
    // counters: work still stuck inside the platform must not see the libraries torn down under it.
    if (!m_pMainWnd)
        EndProcessIfWorkIsLeftInside(static_cast<UINT>(code));
    return code;
}
