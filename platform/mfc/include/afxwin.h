#pragma once
// Windows part of the MFC-compatible layer: GDI and device contexts, command targets and windows,
// the application and its threads, message boxes and extension-library start-up.
#include "afx.h"
#include "afxcoll.h"
#include "afxdllx.h"
#include "afxgdi.h"
#include "afxhook.h"

class CWnd;
class CWinThread;
class CWinApp;

// The root of every class that receives commands. Wait-cursor calls work with or without an application.
class QEL_MFC_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();
};

// A window object: m_hWnd is its window (null before creation and after destruction).
class QEL_MFC_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;

    operator HWND() const;
    HWND GetSafeHwnd() const;
    // The object attached to window, else a temporary one deleted at idle time; null for a null window.
    static CWnd* __stdcall FromHandle(HWND window);
    static CWnd* __stdcall FromHandlePermanent(HWND window); // attached objects only
    BOOL Attach(HWND window);
    HWND Detach();

    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    CWnd* GetParent() const;
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void Invalidate(BOOL erase = TRUE);
    BOOL UpdateWindow();
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK); // through the hook
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
};

// A thread of the class library; m_pMainWnd is the window AfxGetMainWnd answers on it.
class QEL_MFC_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;

    virtual CWnd* GetMainWnd();
};

// The application: one per program, reachable through AfxGetApp.
class QEL_MFC_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName; // the name given, else the program's file name without extension
    LPCSTR m_pszExeName;

    virtual void DoWaitCursor(int change); // 1 begin, -1 end, 0 restore
    int DoMessageBox(LPCSTR text, UINT type, UINT helpId);
};

// Shows the wait cursor for its lifetime (nesting counts); works without an application object.
class QEL_MFC_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();

private:
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

QEL_MFC_API CWinApp* AFXAPI AfxGetApp();          // null without an application object
QEL_MFC_API CWinThread* AFXAPI AfxGetThread();    // this thread's CWinThread, else the application
QEL_MFC_API CWnd* AFXAPI AfxGetMainWnd();         // null without a thread object or main window
QEL_MFC_API void AFXAPI AfxEnableControlContainer(); // nothing to do: no ActiveX controls are hosted

// A modal message box owned by the active window, captioned with the application's name (the program's
// name without an application), shown through the process-wide hook of afxhook.h. The string-id form
// loads its text from the resource handle. Returns the button pressed.
QEL_MFC_API int AFXAPI AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
QEL_MFC_API int AFXAPI AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = (UINT)-1);
