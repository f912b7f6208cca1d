#pragma once
// Windows part of the MFC-compatible layer: GDI and device contexts, command targets and windows with
// their message maps, the application and its threads, frames, dialogs, the standard controls, menus,
// message boxes and extension-library start-up.
//
// Windows are ANSI windows with real window procedures (AfxWndProc): GetWindowLongPtrA(GWLP_WNDPROC)
// of one of our windows gives a function that may be called directly. An object is attached to its
// window before the window's first message, and is found from the window on any thread.
#include "afx.h"
#include "afxcoll.h"
#include "afxdllx.h"
#include "afxgdi.h"
#include "afxhook.h"
#include "afxmsg.h"

#include <commctrl.h>

// windowsx.h has function-like macros with these names; the members below are declared so that the
// macros cannot reach them, and calls after this header see the members.
#ifdef SubclassWindow
#undef SubclassWindow
#endif
#ifdef CopyRgn
#undef CopyRgn
#endif

class CWnd;
class CWinThread;
class CWinApp;
class CScrollBar;
class CMenu;
class CDataExchange;
struct AFX_CMDHANDLERINFO;

// The root of every class that receives commands: its message map holds ON_COMMAND entries.
// Wait-cursor calls work with or without an application.
class QEL_MFC_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Runs the handler for command id (nCode: notification code, or MAKELONG(code, WM_NOTIFY) with
    // pExtra the NMHDR / LRESULT* pair); TRUE when one ran. pHandlerInfo non-null: only asks.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* __stdcall GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    friend struct QelCmdTargetAccess;
};

// What OnNotify hands a notification handler.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// A window object: m_hWnd is its window (null before creation and after destruction).
class QEL_MFC_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override; // destroys a window still attached

    HWND m_hWnd;

    operator HWND() const;
    HWND GetSafeHwnd() const;
    BOOL operator==(const CWnd& other) const;
    BOOL operator!=(const CWnd& other) const;

    // The object attached to window, else a temporary one deleted at idle time; null for a null window.
    static CWnd* __stdcall FromHandle(HWND window);
    static CWnd* __stdcall FromHandlePermanent(HWND window); // attached objects only, on any thread
    static void __stdcall DeleteTempMap();
    BOOL Attach(HWND window);
    HWND Detach();
    // Routes window's messages through this object (and its message map) from now on.
    BOOL(SubclassWindow)(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation: an ANSI window whose object is attached from its first message on. A null class name
    // takes the layer's default window class.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, void* createParam = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);

    // The message path: WindowProc -> OnWndMsg (reflection, then the map) -> DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void PreSubclassWindow();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    LRESULT Default(); // the default procedure for the message being handled
    static const MSG* __stdcall GetCurrentMessage();
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    static BOOL __stdcall ReflectLastMsg(HWND child, LRESULT* pResult = nullptr);
    static BOOL __stdcall WalkPreTranslateTree(HWND stop, MSG* msg);

    // Window state and geometry.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR text, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);
    HICON GetIcon(BOOL big) const;
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsChild(const CWnd* wnd) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    int SetWindowRgn(HRGN region, BOOL redraw);
    int GetWindowRgn(HRGN region) const;
    void BringWindowToTop();
    BOOL SetForegroundWindow();
    CWnd* SetActiveWindow();
    static CWnd* __stdcall GetActiveWindow();
    static CWnd* __stdcall GetForegroundWindow();
    static CWnd* __stdcall FindWindow(LPCSTR className, LPCSTR windowName);
    static CWnd* __stdcall GetDesktopWindow();
    // The special places of SetWindowPos's insertAfter.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Relatives.
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* newParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner);
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT cmd) const;
    CWnd* GetDlgItem(int id) const;
    void GetDlgItem(int id, HWND* window) const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
    void SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, LPSTR text, int maxCount) const;
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int first, int last, int check);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);

    // Painting.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void InvalidateRgn(CRgn* region, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    BOOL UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, CRgn* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL redraw = TRUE);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    // Input, timers and messages.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void(CALLBACK* timerProc)(HWND, UINT, UINT_PTR, DWORD) = nullptr);
    BOOL KillTimer(UINT_PTR id);
    CWnd* SetFocus();
    static CWnd* __stdcall GetFocus();
    CWnd* SetCapture();
    static CWnd* __stdcall GetCapture();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK); // through the hook
    void DragAcceptFiles(BOOL accept = TRUE);

    // Menus.
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL revert) const;

    // Scrolling.
    int GetScrollPos(int bar) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    int GetScrollLimit(int bar);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH);
    void ScrollWindow(int dx, int dy, LPCRECT scrollRect = nullptr, LPCRECT clipRect = nullptr);
    virtual CScrollBar* GetScrollBarCtrl(int bar) const;

    // Default handlers: each passes its message on to the default procedure.
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnMoving(UINT side, LPRECT rect);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);

protected:
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper; // the procedure this window had before it was ours (null: DefWindowProcA)

private:
    explicit CWnd(HWND special); // the wndTop family

    DECLARE_MESSAGE_MAP()

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend struct QelWndAccess;
};

// The layer's window procedure: every message of a window with an object goes to its WindowProc.
QEL_MFC_API LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A window class of the given looks, registered once (DefWindowProcA procedure, the object's
// procedure is installed at creation); the name stays valid for the process.
QEL_MFC_API LPCSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                              HBRUSH background = nullptr, HICON icon = nullptr);

// A thread of the class library. A worker runs m_pfnThreadProc; a user-interface thread runs
// InitInstance, then Run's message loop. With m_bAutoDelete the object is deleted as the thread ends.
typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class QEL_MFC_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread() override;

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

    operator HANDLE() const;
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);
    DWORD ResumeThread();
    DWORD SuspendThread();
    int GetThreadPriority();
    BOOL SetThreadPriority(int priority);
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual CWnd* GetMainWnd();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual void Delete();

    MSG m_msgCur;
};

QEL_MFC_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                                              UINT stackSize = 0, DWORD createFlags = 0,
                                              LPSECURITY_ATTRIBUTES security = nullptr);
QEL_MFC_API CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                                              UINT stackSize = 0, DWORD createFlags = 0,
                                              LPSECURITY_ATTRIBUTES security = nullptr);
QEL_MFC_API void AFXAPI AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);

// The application: one per program, reachable through AfxGetApp; WinMain (QelMfcMain) runs it.
class QEL_MFC_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName; // the name given, else the program's file name without extension
    LPCSTR m_pszExeName;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    virtual void DoWaitCursor(int change); // 1 begin, -1 end, 0 restore
    virtual int DoMessageBox(LPCSTR text, UINT type, UINT helpId);
    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;
    HICON LoadStandardIcon(LPCSTR name) const;
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCSTR name) const;
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);

    LPCSTR m_pszProfileName;
};

// Called by the WinMain of QelMfcMain: initialises and runs the application object.
QEL_MFC_API int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow);
QEL_MFC_API BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow);

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
QEL_MFC_API void AFXAPI AfxPostQuitMessage(int exitCode);

// A modal message box owned by the active window, captioned with the application's name (the program's
// name without an application), shown through the process-wide hook of afxhook.h. The string-id form
// loads its text from the resource handle. Returns the button pressed.
QEL_MFC_API int AFXAPI AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
QEL_MFC_API int AFXAPI AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = (UINT)-1);

// A menu handle owned by the object (DestroyMenu on destruction unless detached).
class QEL_MFC_API CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu();
    ~CMenu() override;

    HMENU m_hMenu;

    operator HMENU() const;
    HMENU GetSafeHmenu() const;
    static CMenu* __stdcall FromHandle(HMENU menu);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(LPCSTR resourceName); // from the resource handle
    BOOL LoadMenu(UINT resourceId);
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    UINT EnableMenuItem(UINT idEnableItem, UINT enable);
    UINT CheckMenuItem(UINT idCheckItem, UINT check);
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT id, UINT flags) const;
    int GetMenuString(UINT idItem, LPSTR text, int maxCount, UINT flags) const;
    int GetMenuString(UINT idItem, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int position) const;
    // Shows the menu at (x, y) for owner; with TPM_RETURNCMD returns the chosen id, else the choice
    // arrives at owner as WM_COMMAND.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};

// DDX: the exchange between a dialog and its members, run by UpdateData.
class QEL_MFC_API CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    HWND PrepareCtrl(int id); // the control's window; fails the exchange when absent
    HWND PrepareEditCtrl(int id);
    void Fail();              // throws; UpdateData answers FALSE
    HWND m_hWndLastControl;
};

// Binds control to the dialog's control id (subclassing it) on the first exchange.
QEL_MFC_API void AFXAPI DDX_Control(CDataExchange* pDX, int id, CWnd& control);
QEL_MFC_API void AFXAPI DDX_Text(CDataExchange* pDX, int id, CString& value);
QEL_MFC_API void AFXAPI DDX_Text(CDataExchange* pDX, int id, int& value);
QEL_MFC_API void AFXAPI DDX_Check(CDataExchange* pDX, int id, int& value);
QEL_MFC_API void AFXAPI DDX_Radio(CDataExchange* pDX, int id, int& value);
QEL_MFC_API void AFXAPI DDX_CBIndex(CDataExchange* pDX, int id, int& index);

// The frame window: LoadFrame takes its title (the string resource up to the first '\n'), icon and menu
// from one resource id. It deletes itself after its window is destroyed.
#define FWS_ADDTOTITLE 0x00008000L
#define AFX_IDW_PANE_FIRST 0xE900

struct CCreateContext;

class QEL_MFC_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                DWORD exStyle = 0, CCreateContext* context = nullptr);
    virtual void ActivateFrame(int cmdShow = -1);
    virtual void RecalcLayout(BOOL notify = TRUE);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    static const CRect rectDefault;
    UINT m_nIDHelp;

protected:
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()
};

// A dialog from a dialog template found through the resource handle: modeless (Create) or modal
// (DoModal, whose loop passes the modal hook of afxhook.h).
class QEL_MFC_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont* font);
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT rect) const;

    LPCSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    virtual void OnOK();     // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    BOOL CreateFromTemplate(LPCSTR templateName, CWnd* parent);
    INT_PTR RunModal(HWND disabledOwner);

    int m_nModalResult; // -1 while a modal loop runs and the dialog was not ended
    BOOL m_bModal;
    DECLARE_MESSAGE_MAP()
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// The dialog procedure behind every CDialog: runs OnInitDialog and OnSetFont.
QEL_MFC_API INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Standard controls: thin wrappers of the control messages.
class QEL_MFC_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic();
    ~CStatic() override;
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xffff);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
    virtual void DrawItem(LPDRAWITEMSTRUCT item); // SS_OWNERDRAW, by reflection
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class QEL_MFC_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton();
    ~CButton() override;
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    UINT GetState() const;
    void SetState(BOOL highlight);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
    virtual void DrawItem(LPDRAWITEMSTRUCT item); // BS_OWNERDRAW, by reflection
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class QEL_MFC_API CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit();
    ~CEdit() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    void SetLimitText(UINT max);
    void LimitText(int chars = 0);
    UINT GetLimitText() const;
    int GetLineCount() const;
    int GetLine(int index, LPSTR buffer, int maxLength) const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
    BOOL Undo();
    void Clear();
    void Copy();
    void Cut();
    void Paste();
};

class QEL_MFC_API CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox();
    ~CComboBox() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int select);
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetLBText(int index, LPSTR text) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindString(int startAfter, LPCSTR text) const;
    int FindStringExact(int startAfter, LPCSTR text) const;
    int SelectString(int startAfter, LPCSTR text);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data);
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, UINT height);
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL show = TRUE);
    BOOL LimitText(int maxChars);
    DWORD GetEditSel() const;
    BOOL SetEditSel(int start, int end);
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT item);
    virtual void DeleteItem(LPDELETEITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class QEL_MFC_API CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar();
    ~CScrollBar() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetScrollPos() const;
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    void GetScrollRange(LPINT minPos, LPINT maxPos) const;
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);
    BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);
    int GetScrollLimit();
    void ShowScrollBar(BOOL show = TRUE);
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH);
};
