// CWinThread, CWinApp, the application and main-window queries, start-up, and the wait cursor.
#include "afxwin.h"

#include <process.h>

#include <cstring>

#include "app_state.h"

namespace qelmfc {

void DoWaitCursor(int change) {
    ProcessState& state = State();
    const int count = (state.waitCursorCount += change);
    if (count > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        if (change > 0 && count == 1)
            state.cursorBeforeWait = previous;
    } else {
        state.waitCursorCount = 0;
        ::SetCursor(state.cursorBeforeWait.load());
    }
}

} // namespace qelmfc

namespace {

// The program's file name without folder and extension, kept for the process.
LPCSTR ProgramName() {
    static char name[MAX_PATH];
    if (!name[0]) {
        char path[MAX_PATH] = {0};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const char* base = std::strrchr(path, '\\');
        base = base ? base + 1 : path;
        lstrcpynA(name, base, MAX_PATH);
        if (char* dot = std::strrchr(name, '.'))
            *dot = 0;
    }
    return name;
}

unsigned __stdcall ThreadEntry(void* param) {
    CWinThread* thread = static_cast<CWinThread*>(param);
    qelmfc::Thread().thread = thread;
    UINT exitCode = 0;
    if (thread->m_pfnThreadProc) {
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } else if (thread->InitInstance()) {
        exitCode = static_cast<UINT>(thread->Run());
    } else {
        exitCode = static_cast<UINT>(thread->ExitInstance());
    }
    AfxEndThread(exitCode, TRUE);
    return exitCode;
}

} // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_hThread(nullptr), m_nThreadID(0), m_bAutoDelete(TRUE),
      m_pfnThreadProc(nullptr), m_pThreadParams(nullptr), m_msgCur() {}

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : CWinThread() {
    m_pfnThreadProc = proc;
    m_pThreadParams = param;
}

CWinThread::~CWinThread() {
    if (m_hThread)
        ::CloseHandle(m_hThread);
    qelmfc::ThreadState& thread = qelmfc::Thread();
    if (thread.thread == this)
        thread.thread = nullptr;
}

CWinThread::operator HANDLE() const {
    return qelmfc::IsNull(this) ? nullptr : m_hThread;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
    unsigned id = 0;
    m_hThread = reinterpret_cast<HANDLE>(
        _beginthreadex(security, stackSize, &ThreadEntry, this, createFlags & CREATE_SUSPENDED, &id));
    if (!m_hThread)
        return FALSE;
    m_nThreadID = id;
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}
DWORD CWinThread::SuspendThread() {
    return ::SuspendThread(m_hThread);
}
int CWinThread::GetThreadPriority() {
    return ::GetThreadPriority(m_hThread);
}
BOOL CWinThread::SetThreadPriority(int priority) {
    return ::SetThreadPriority(m_hThread, priority);
}
BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

CWnd* CWinThread::GetMainWnd() {
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    // The target window and each parent up to the main window (a dialog runs IsDialogMessage there).
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, msg))
        return TRUE;
    // A message for a window outside the main window's tree: its own top-level window may still want it.
    if (stop && msg->hwnd && !::IsChild(stop, msg->hwnd) && msg->hwnd != stop)
        return FALSE;
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg) {
    return msg->message != WM_PAINT && msg->message != 0x0118; // WM_SYSTIMER: the caret blink
}

BOOL CWinThread::OnIdle(LONG count) {
    if (count <= 0)
        qelmfc::DeleteTempMaps();
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    CWinApp* app = AfxGetApp();
    BOOL handled = FALSE;
    // The application sees every message of its thread first, then the windows themselves.
    if (app && app != this && app->m_nThreadID == ::GetCurrentThreadId())
        handled = app->PreTranslateMessage(&m_msgCur);
    if (!handled)
        handled = PreTranslateMessage(&m_msgCur);
    if (!handled) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run() {
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (!::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                break;
        }
        // Wait for the next message, then handle everything queued.
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
                idleCount = 0;
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                                  DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    CWinThread* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
        thread->Delete();
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD createFlags,
                                  LPSECURITY_ATTRIBUTES security) {
    CObject* object = threadClass ? threadClass->CreateObject() : nullptr;
    CWinThread* thread = object && object->IsKindOf(RUNTIME_CLASS(CWinThread)) ? static_cast<CWinThread*>(object)
                                                                               : nullptr;
    if (!thread) {
        delete object;
        return nullptr;
    }
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
        thread->Delete();
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

void AFXAPI AfxEndThread(UINT exitCode, BOOL deleteThread) {
    qelmfc::ThreadState& state = qelmfc::Thread();
    CWinThread* thread = state.thread;
    state.thread = nullptr;
    if (thread && deleteThread)
        thread->Delete();
    qelmfc::DeleteTempMaps();
    _endthreadex(exitCode);
}

void AFXAPI AfxPostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

CWinApp::CWinApp(LPCSTR appName)
    : m_hInstance(nullptr), m_hPrevInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(nullptr), m_pszExeName(nullptr), m_pszProfileName(nullptr) {
    m_pszExeName = ProgramName();
    m_pszAppName = appName ? _strdup(appName) : m_pszExeName;
    m_bAutoDelete = FALSE;
    qelmfc::State().app.store(this);
    qelmfc::Thread().thread = this;
    m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp() {
    if (m_pszAppName != m_pszExeName)
        free(const_cast<LPSTR>(m_pszAppName));
    free(const_cast<LPSTR>(m_pszProfileName));
    CWinApp* self = this;
    qelmfc::State().app.compare_exchange_strong(self, nullptr);
}

BOOL CWinApp::InitApplication() {
    return TRUE;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_msgCur.wParam);
}

int CWinApp::Run() {
    if (!m_pMainWnd)
        AfxPostQuitMessage(0); // nothing to run for
    return CWinThread::Run();
}

void CWinApp::DoWaitCursor(int change) {
    qelmfc::DoWaitCursor(change);
}

int CWinApp::DoMessageBox(LPCSTR text, UINT type, UINT /*helpId*/) {
    return AfxShowMessageBox(::GetActiveWindow(), text, m_pszAppName, type);
}

HICON CWinApp::LoadIcon(UINT id) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}
HICON CWinApp::LoadIcon(LPCSTR name) const {
    return ::LoadIconA(AfxGetResourceHandle(), name);
}
HICON CWinApp::LoadStandardIcon(LPCSTR name) const {
    return ::LoadIconA(nullptr, name);
}
HCURSOR CWinApp::LoadCursor(UINT id) const {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}
HCURSOR CWinApp::LoadStandardCursor(LPCSTR name) const {
    return ::LoadCursorA(nullptr, name);
}

// Profile: the program's .ini file in the Windows folder unless m_pszProfileName names another.
UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
    return m_pszProfileName ? ::GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName)
                            : ::GetProfileIntA(section, entry, defaultValue);
}
BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
    CString text;
    text.Format("%d", value);
    return WriteProfileString(section, entry, text);
}
CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
    char buffer[4096] = {0};
    if (m_pszProfileName)
        ::GetPrivateProfileStringA(section, entry, defaultValue ? defaultValue : "", buffer, sizeof buffer,
                                   m_pszProfileName);
    else
        ::GetProfileStringA(section, entry, defaultValue ? defaultValue : "", buffer, sizeof buffer);
    return CString(buffer);
}
BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
    return m_pszProfileName ? ::WritePrivateProfileStringA(section, entry, value, m_pszProfileName)
                            : ::WriteProfileStringA(section, entry, value);
}

CWinApp* AFXAPI AfxGetApp() {
    return qelmfc::State().app.load();
}

CWinThread* AFXAPI AfxGetThread() {
    if (CWinThread* thread = qelmfc::Thread().thread)
        return thread;
    return AfxGetApp();
}

CWnd* AFXAPI AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

void AFXAPI AfxEnableControlContainer() {}

BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    app->m_hInstance = instance;
    app->m_hPrevInstance = previous;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = cmdShow;
    app->m_nThreadID = ::GetCurrentThreadId();
    qelmfc::Thread().thread = app;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    return TRUE;
}

int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(instance, previous, commandLine, cmdShow) || !app->InitApplication())
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

CWaitCursor::CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
    else
        qelmfc::DoWaitCursor(1);
}

CWaitCursor::~CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
    else
        qelmfc::DoWaitCursor(-1);
}

void CWaitCursor::Restore() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
    else
        qelmfc::DoWaitCursor(0);
}

// Message boxes.
int AFXAPI AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(text, type, helpId);
    return AfxShowMessageBox(::GetActiveWindow(), text, ProgramName(), type);
}

int AFXAPI AfxMessageBox(UINT textId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? textId : helpId);
}
