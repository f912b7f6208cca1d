// CWnd: the handle map, creation and subclassing, the message path with reflection, and the window calls.
#include "afxwin.h"

#include <list>
#include <mutex>

#include "app_state.h"
#include "msg_dispatch.h"

namespace {

// The object of a window is kept in a window property, so that the window procedure finds it on any
// thread (the engine calls its notify window's procedure from its own threads).
const char kObjectProperty[] = "QelMfc.CWnd";

CWnd* PermanentObject(HWND window) {
    return window ? static_cast<CWnd*>(::GetPropA(window, kObjectProperty)) : nullptr;
}

// The class the layer registers for CWnd::Create with no class name.
LPCSTR DefaultWindowClass() {
    static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return name;
}

// While CreateEx runs: attaches the object to the first window created on this thread.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    qelmfc::ThreadState& thread = qelmfc::Thread();
    if (code == HCBT_CREATEWND && thread.windowInCreation) {
        CWnd* wnd = thread.windowInCreation;
        thread.windowInCreation = nullptr;
        QelWndAccess::Hook(wnd, reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(thread.creationHook, code, wParam, lParam);
}

} // namespace

// Private access of the layer's own functions to CWnd.
void QelWndAccess::Hook(CWnd* wnd, HWND window) {
    wnd->Attach(window);
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        wnd->m_pfnSuper = previous;
}

void QelWndAccess::BeginCreation(CWnd* wnd) {
    qelmfc::ThreadState& thread = qelmfc::Thread();
    thread.windowInCreation = wnd;
    if (!thread.creationHook)
        thread.creationHook = ::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId());
    ++thread.creationDepth;
}

bool QelWndAccess::EndCreation(CWnd* wnd) {
    qelmfc::ThreadState& thread = qelmfc::Thread();
    const bool attached = thread.windowInCreation != wnd;
    if (!attached)
        thread.windowInCreation = nullptr;
    if (--thread.creationDepth == 0 && thread.creationHook) {
        ::UnhookWindowsHookEx(thread.creationHook);
        thread.creationHook = nullptr;
    }
    return attached;
}

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = PermanentObject(window);
    if (!wnd || wnd->m_hWnd != window)
        return ::DefWindowProcA(window, message, wParam, lParam);
    qelmfc::ThreadState& thread = qelmfc::Thread();
    MSG current = {window, message, wParam, lParam, 0, {0, 0}};
    const MSG* previous = thread.currentMessage;
    thread.currentMessage = &current;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    thread.currentMessage = previous;
    if (message == WM_NCDESTROY)
        QelWndAccess::AfterNcDestroy(wnd, window);
    return result;
}

void QelWndAccess::AfterNcDestroy(CWnd* wnd, HWND window) {
    // The window is gone: detach, give the procedure back, and let the object end itself.
    if (PermanentObject(window) != wnd)
        return;
    if (wnd->m_pfnSuper)
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
    wnd->Detach();
    wnd->m_pfnSuper = nullptr;
    // The main window's end ends its thread's message loop.
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == wnd) {
        thread->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    wnd->PostNcDestroy();
}

LPCSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::mutex lock;
    // Kept for the process, in a list: callers hold the returned pointers, which a growing vector
    // would leave pointing at freed or reused text.
    static std::list<CString>* names = new std::list<CString>;
    HINSTANCE instance = AfxGetInstanceHandle();
    CString name;
    name.Format("Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
    std::lock_guard<std::mutex> scope(lock);
    for (const CString& known : *names)
        if (known == name)
            return known;
    WNDCLASSA cls = {};
    if (!::GetClassInfoA(instance, name, &cls)) {
        cls.style = classStyle;
        cls.lpfnWndProc = ::DefWindowProcA;
        cls.hInstance = instance;
        cls.hCursor = cursor;
        cls.hbrBackground = background;
        cls.hIcon = icon;
        cls.lpszClassName = name;
        ::RegisterClassA(&cls);
    }
    names->push_back(name);
    return names->back();
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::CWnd(HWND special) : m_hWnd(special), m_pfnSuper(nullptr) {}

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd() {
    if (m_hWnd && PermanentObject(m_hWnd) == this) {
        // Still alive: destroy it without calling back into a half-destroyed object.
        HWND window = m_hWnd;
        if (m_pfnSuper)
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        Detach();
        ::DestroyWindow(window);
    }
}

CWnd::operator HWND() const {
    return qelmfc::IsNull(this) ? nullptr : m_hWnd;
}

HWND CWnd::GetSafeHwnd() const {
    return qelmfc::IsNull(this) ? nullptr : m_hWnd;
}

BOOL CWnd::operator==(const CWnd& other) const {
    return m_hWnd == other.m_hWnd;
}

BOOL CWnd::operator!=(const CWnd& other) const {
    return m_hWnd != other.m_hWnd;
}

CWnd* __stdcall CWnd::FromHandle(HWND window) {
    if (!window)
        return nullptr;
    if (CWnd* wnd = PermanentObject(window))
        return wnd;
    auto& map = qelmfc::Thread().windows;
    if (CWnd* wnd = map.Lookup(window))
        return wnd;
    CWnd* wnd = new CWnd;
    wnd->m_hWnd = window;
    map.temporary[window] = wnd;
    return wnd;
}

CWnd* __stdcall CWnd::FromHandlePermanent(HWND window) {
    return PermanentObject(window);
}

void __stdcall CWnd::DeleteTempMap() {
    qelmfc::DeleteTempMaps();
}

BOOL CWnd::Attach(HWND window) {
    if (!window)
        return FALSE;
    m_hWnd = window;
    ::SetPropA(window, kObjectProperty, this);
    // A temporary object for the same window would now be stale.
    auto& temporary = qelmfc::Thread().windows.temporary;
    auto it = temporary.find(window);
    if (it != temporary.end()) {
        it->second->m_hWnd = nullptr;
        delete it->second;
        temporary.erase(it);
    }
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (window && PermanentObject(window) == this)
        ::RemovePropA(window, kObjectProperty);
    m_hWnd = nullptr;
    return window;
}

BOOL(CWnd::SubclassWindow)(HWND window) {
    if (!window || PermanentObject(window))
        return FALSE;
    QelWndAccess::Hook(this, window);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND control = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = DefaultWindowClass();
    return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* createParam) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, createParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    QelWndAccess::BeginCreation(this);
    HWND window = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                    cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    QelWndAccess::EndCreation(this);
    if (!window) {
        // A failed creation leaves the object as it was (PostNcDestroy ran if the window existed).
        return FALSE;
    }
    return m_hWnd == window;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    HWND window = m_hWnd;
    const bool ours = PermanentObject(window) == this;
    const BOOL result = ::DestroyWindow(window);
    if (!ours)
        Detach();
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* msg = qelmfc::Thread().currentMessage;
    return msg ? DefWindowProc(msg->message, msg->wParam, msg->lParam) : 0;
}

const MSG* __stdcall CWnd::GetCurrentMessage() {
    qelmfc::ThreadState& thread = qelmfc::Thread();
    if (thread.currentMessage)
        thread.lastMessage = *thread.currentMessage;
    thread.lastMessage.time = ::GetMessageTime();
    const DWORD pos = ::GetMessagePos();
    thread.lastMessage.pt.x = static_cast<short>(LOWORD(pos));
    thread.lastMessage.pt.y = static_cast<short>(HIWORD(pos));
    return &thread.lastMessage;
}

BOOL CWnd::PreTranslateMessage(MSG* /*msg*/) {
    return FALSE;
}

BOOL __stdcall CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        if (CWnd* wnd = PermanentObject(window))
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        if (window == stop)
            break;
    }
    return FALSE;
}

void CWnd::PostNcDestroy() {}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const qelmfc::ExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

// Reflection: the child's OnChildNotify sees the message first; TRUE keeps it from the parent.
BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG* msg = qelmfc::Thread().currentMessage;
    return msg ? OnChildNotify(msg->message, msg->wParam, msg->lParam, pResult) : FALSE;
}

BOOL __stdcall CWnd::ReflectLastMsg(HWND child, LRESULT* pResult) {
    CWnd* wnd = PermanentObject(child);
    return wnd ? wnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return qelmfc::DispatchReflected(this, message, wParam, lParam, pResult);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    BOOL handled = FALSE;
    // Messages a child sent about itself go to the child first (reflection).
    if (HWND child = qelmfc::ReflectionTarget(m_hWnd, message, wParam, lParam)) {
        if (CWnd* control = PermanentObject(child)) {
            if (control != this && control->OnChildNotify(message, wParam, lParam, &result)) {
                if (pResult)
                    *pResult = result;
                return TRUE;
            }
        }
    }
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        result = handled ? 0 : result;
    } else if (message == WM_NOTIFY) {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        handled = header ? OnNotify(wParam, lParam, &result) : FALSE;
    } else {
        handled = qelmfc::DispatchMessageMap(this, message, wParam, lParam, &result);
    }
    if (pResult)
        *pResult = result;
    return handled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const UINT id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    AFX_NOTIFY notify = {pResult, header};
    return OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Default handlers.
int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnNcDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnMoving(UINT, LPRECT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
