// CWnd's window calls: thin wrappers of the window functions, window arguments as objects.
#include "afxwin.h"

namespace {
HWND HwndOf(const CWnd* wnd) {
    return wnd ? wnd->m_hWnd : nullptr;
}
} // namespace

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}
namespace {
BOOL ModifyLong(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
    const DWORD old = static_cast<DWORD>(::GetWindowLongA(window, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return FALSE;
    ::SetWindowLongA(window, index, static_cast<LONG>(changed));
    if (flags)
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
} // namespace
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}
int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int id) {
    return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, id));
}
void CWnd::SetWindowText(LPCSTR text) {
    ::SetWindowTextA(m_hWnd, text);
}
int CWnd::GetWindowText(LPSTR text, int maxCount) const {
    return ::GetWindowTextA(m_hWnd, text, maxCount);
}
void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    const int read = ::GetWindowTextA(m_hWnd, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(read);
}
int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}
void CWnd::SetFont(CFont* font, BOOL redraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}
CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}
HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        ::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL big) const {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0));
}
BOOL CWnd::ShowWindow(int cmdShow) {
    return ::ShowWindow(m_hWnd, cmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsZoomed() const {
    return ::IsZoomed(m_hWnd);
}
BOOL CWnd::IsChild(const CWnd* wnd) const {
    return ::IsChild(m_hWnd, HwndOf(wnd));
}
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, HwndOf(insertAfter), x, y, cx, cy, flags);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    placement->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, placement);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
    return ::SetWindowPlacement(m_hWnd, placement);
}
void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}
void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}
void CWnd::ClientToScreen(LPPOINT point) const {
    ::ClientToScreen(m_hWnd, point);
}
void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::ScreenToClient(LPPOINT point) const {
    ::ScreenToClient(m_hWnd, point);
}
void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
    ::MapWindowPoints(m_hWnd, HwndOf(to), points, count);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, HwndOf(to), reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::CenterWindow(CWnd* alternateOwner) {
    // Over the owner (or parent), else over the work area.
    RECT area;
    HWND over = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (!over)
        over = ::GetParent(m_hWnd);
    const bool child = (GetStyle() & WS_CHILD) != 0;
    if (child && over)
        ::GetClientRect(over, &area);
    else if (over && ::IsWindowVisible(over) && !::IsIconic(over))
        ::GetWindowRect(over, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    ::SetWindowPos(m_hWnd, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
int CWnd::SetWindowRgn(HRGN region, BOOL redraw) {
    return ::SetWindowRgn(m_hWnd, region, redraw);
}
int CWnd::GetWindowRgn(HRGN region) const {
    return ::GetWindowRgn(m_hWnd, region);
}
void CWnd::BringWindowToTop() {
    ::BringWindowToTop(m_hWnd);
}
BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* __stdcall CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}
CWnd* __stdcall CWnd::GetForegroundWindow() {
    return FromHandle(::GetForegroundWindow());
}
CWnd* __stdcall CWnd::FindWindow(LPCSTR className, LPCSTR windowName) {
    return FromHandle(::FindWindowA(className, windowName));
}
CWnd* __stdcall CWnd::GetDesktopWindow() {
    return FromHandle(::GetDesktopWindow());
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::SetParent(CWnd* newParent) {
    return FromHandle(::SetParent(m_hWnd, HwndOf(newParent)));
}
CWnd* CWnd::GetOwner() const {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}
void CWnd::SetOwner(CWnd* owner) {
    ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(HwndOf(owner)));
}
CWnd* CWnd::GetTopLevelParent() const {
    return FromHandle(::GetAncestor(m_hWnd, GA_ROOT));
}
CWnd* CWnd::GetWindow(UINT cmd) const {
    return FromHandle(::GetWindow(m_hWnd, cmd));
}
CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}
void CWnd::GetDlgItem(int id, HWND* window) const {
    *window = ::GetDlgItem(m_hWnd, id);
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
    return FromHandle(::GetNextDlgTabItem(m_hWnd, HwndOf(control), previous));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, HwndOf(control), previous));
}
void CWnd::SetDlgItemText(int id, LPCSTR text) {
    ::SetDlgItemTextA(m_hWnd, id, text);
}
int CWnd::GetDlgItemText(int id, LPSTR text, int maxCount) const {
    return static_cast<int>(::GetDlgItemTextA(m_hWnd, id, text, maxCount));
}
int CWnd::GetDlgItemText(int id, CString& text) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!control)
        return 0;
    const int length = ::GetWindowTextLengthA(control);
    const int read = ::GetWindowTextA(control, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(read);
    return read;
}
void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
    ::SetDlgItemInt(m_hWnd, id, value, isSigned);
}
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
    return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}
void CWnd::CheckDlgButton(int id, UINT check) {
    ::CheckDlgButton(m_hWnd, id, check);
}
UINT CWnd::IsDlgButtonChecked(int id) const {
    return ::IsDlgButtonChecked(m_hWnd, id);
}
void CWnd::CheckRadioButton(int first, int last, int check) {
    ::CheckRadioButton(m_hWnd, first, last, check);
}
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}
void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent) {
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (!onlyPermanent || FromHandlePermanent(child))
            ::SendMessageA(child, message, wParam, lParam);
        if (deep && ::GetTopWindow(child))
            FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep, onlyPermanent);
    }
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    ::InvalidateRect(m_hWnd, rect, erase);
}
void CWnd::InvalidateRgn(CRgn* region, BOOL erase) {
    ::InvalidateRgn(m_hWnd, region ? static_cast<HRGN>(region->m_hObject) : nullptr, erase);
}
void CWnd::ValidateRect(LPCRECT rect) {
    ::ValidateRect(m_hWnd, rect);
}
BOOL CWnd::UpdateWindow() {
    return ::UpdateWindow(m_hWnd);
}
BOOL CWnd::RedrawWindow(LPCRECT rect, CRgn* region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, region ? static_cast<HRGN>(region->m_hObject) : nullptr, flags);
}
void CWnd::SetRedraw(BOOL redraw) {
    ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* dc) {
    return ::ReleaseDC(m_hWnd, dc ? dc->m_hDC : nullptr);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void(CALLBACK* timerProc)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
}
BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* __stdcall CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* __stdcall CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    if (!caption) {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : "Error";
    }
    return AfxShowMessageBox(m_hWnd, text, caption, type);
}
void CWnd::DragAcceptFiles(BOOL accept) {
    ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0);
}

CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}
BOOL CWnd::SetMenu(CMenu* menu) {
    return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr);
}
void CWnd::DrawMenuBar() {
    ::DrawMenuBar(m_hWnd);
}
CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

// Scrolling: a bar of the window itself, or the scroll-bar control that stands in for it.
CScrollBar* CWnd::GetScrollBarCtrl(int) const {
    return nullptr;
}
int CWnd::GetScrollPos(int bar) const {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->GetScrollPos();
    return ::GetScrollPos(m_hWnd, bar);
}
int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->SetScrollPos(pos, redraw);
    return ::SetScrollPos(m_hWnd, bar, pos, redraw);
}
void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        control->GetScrollRange(minPos, maxPos);
    else
        ::GetScrollRange(m_hWnd, bar, minPos, maxPos);
}
void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        control->SetScrollRange(minPos, maxPos, redraw);
    else
        ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}
BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) {
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->GetScrollInfo(info, mask);
    return ::GetScrollInfo(m_hWnd, bar, info);
}
BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
    info->cbSize = sizeof(SCROLLINFO);
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->SetScrollInfo(info, redraw);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}
int CWnd::GetScrollLimit(int bar) {
    SCROLLINFO info = {};
    if (!GetScrollInfo(bar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    const int limit = info.nMax - (info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0);
    return limit > info.nMin ? limit : info.nMin;
}
void CWnd::ShowScrollBar(UINT bar, BOOL show) {
    ::ShowScrollBar(m_hWnd, bar, show);
}
BOOL CWnd::EnableScrollBar(int bar, UINT arrows) {
    return ::EnableScrollBar(m_hWnd, bar, arrows);
}
void CWnd::ScrollWindow(int dx, int dy, LPCRECT scrollRect, LPCRECT clipRect) {
    ::ScrollWindow(m_hWnd, dx, dy, scrollRect, clipRect);
}
