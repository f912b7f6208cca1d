// CWinThread, CWinApp, the application and main-window queries, and the wait cursor.
#include "afxwin.h"

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

} // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinThread::CWinThread() : m_pMainWnd(nullptr), m_hThread(nullptr), m_nThreadID(0), m_bAutoDelete(TRUE) {}

CWinThread::~CWinThread() {
    if (m_hThread)
        CloseHandle(m_hThread);
    qelmfc::ThreadState& thread = qelmfc::Thread();
    if (thread.thread == this)
        thread.thread = nullptr;
}

CWnd* CWinThread::GetMainWnd() {
    return m_pMainWnd;
}

CWinApp::CWinApp(LPCSTR appName)
    : m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(nullptr),
      m_pszExeName(nullptr) {
    m_pszExeName = ProgramName();
    m_pszAppName = appName ? _strdup(appName) : m_pszExeName;
    qelmfc::State().app.store(this);
    qelmfc::Thread().thread = this;
    m_nThreadID = GetCurrentThreadId();
}

CWinApp::~CWinApp() {
    if (m_pszAppName != m_pszExeName)
        free(const_cast<LPSTR>(m_pszAppName));
    CWinApp* self = this;
    qelmfc::State().app.compare_exchange_strong(self, nullptr);
}

void CWinApp::DoWaitCursor(int change) {
    qelmfc::DoWaitCursor(change);
}

int CWinApp::DoMessageBox(LPCSTR text, UINT type, UINT /*helpId*/) {
    return AfxShowMessageBox(::GetActiveWindow(), text, m_pszAppName, type);
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
