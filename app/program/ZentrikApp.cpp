#include "ZentrikApp.h"

#include <afxhook.h>

#include <PathHelpers.h>

#include "MainFrame.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "SplashWindow.h"
#include "SystemChecks.h"
#include "resource.h"

CZentrikApp theApp;

namespace {

void ShowStartupBox(UINT textId) {
    CString text;
    CString caption;
    text.LoadString(textId);
    caption.LoadString(IDS_CAPTION);
    AfxShowMessageBox(nullptr, text, caption, MB_OK);
}

} // namespace

CZentrikApp::CZentrikApp() = default;

BOOL CZentrikApp::InitInstance() {
    AfxEnableControlContainer();
    // One instance: a second start only brings the first window up.
    if (HWND running = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr)) {
        ::ShowWindow(running, SW_SHOWNORMAL);
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
    CSplashWindow::EnableSplashScreen(TRUE);
    // Three-dimensional controls need no switching on: the system draws them so.
    CMainFrame* frame = new CMainFrame;
    m_pMainWnd = frame;
    // A frame that failed to load (its main dialog could not be made) is gone with its window: the
    // program ends rather than touch it.
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_VISIBLE, nullptr, nullptr)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    frame->UpdateWindow();
    frame->ShowWindow(SW_SHOW);
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
