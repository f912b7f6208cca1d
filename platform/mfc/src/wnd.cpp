// CWnd: the window object, its handle map and the window calls.
#include "afxwin.h"

#include "app_state.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::~CWnd() {
    Detach();
}

CWnd::operator HWND() const {
    return qelmfc::IsNull(this) ? nullptr : m_hWnd;
}

HWND CWnd::GetSafeHwnd() const {
    return qelmfc::IsNull(this) ? nullptr : m_hWnd;
}

CWnd* __stdcall CWnd::FromHandle(HWND window) {
    if (!window)
        return nullptr;
    auto& map = qelmfc::Thread().windows;
    if (CWnd* wnd = map.Lookup(window))
        return wnd;
    CWnd* wnd = new CWnd;
    wnd->m_hWnd = window;
    map.temporary[window] = wnd;
    return wnd;
}

CWnd* __stdcall CWnd::FromHandlePermanent(HWND window) {
    return window ? qelmfc::Thread().windows.LookupPermanent(window) : nullptr;
}

BOOL CWnd::Attach(HWND window) {
    if (!window)
        return FALSE;
    m_hWnd = window;
    qelmfc::Thread().windows.permanent[window] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (window) {
        auto& map = qelmfc::Thread().windows;
        auto it = map.permanent.find(window);
        if (it != map.permanent.end() && it->second == this)
            map.permanent.erase(it);
    }
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
CWnd* CWnd::GetParent() const {
    return CWnd::FromHandle(::GetParent(m_hWnd));
}
void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}
void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}
void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}
BOOL CWnd::UpdateWindow() {
    return ::UpdateWindow(m_hWnd);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* dc) {
    return ::ReleaseDC(m_hWnd, dc ? dc->m_hDC : nullptr);
}
int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    if (!caption)
        caption = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "Error";
    return AfxShowMessageBox(m_hWnd, text, caption, type);
}
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
