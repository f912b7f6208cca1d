// The standard controls: static, button, edit, combo box and scroll bar.
#include "afxwin.h"

namespace {

// Creates a control of a system class as a child of parent with the given id.
BOOL CreateControl(CWnd* control, LPCSTR className, LPCSTR text, DWORD style, const RECT& rect, CWnd* parent,
                   UINT id) {
    return control->CreateEx(0, className, text, style | WS_CHILD, rect, parent, id);
}

} // namespace

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

// Static.
CStatic::CStatic() = default;
CStatic::~CStatic() = default;
BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "STATIC", text, style, rect, parent, id);
}
HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CStatic::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
}
HICON CStatic::SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
}
HICON CStatic::GetIcon() const {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_GETICON, 0, 0));
}
void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// Button.
CButton::CButton() = default;
CButton::~CButton() = default;
BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "BUTTON", caption, style, rect, parent, id);
}
UINT CButton::GetState() const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0));
}
void CButton::SetState(BOOL highlight) {
    SendMessage(BM_SETSTATE, highlight);
}
int CButton::GetCheck() const {
    return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0));
}
void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, check);
}
UINT CButton::GetButtonStyle() const {
    return static_cast<UINT>(GetStyle() & 0xFFFF);
}
void CButton::SetButtonStyle(UINT style, BOOL redraw) {
    SendMessage(BM_SETSTYLE, style, redraw);
}
HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CButton::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}
HICON CButton::SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}
HICON CButton::GetIcon() const {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// Edit.
CEdit::CEdit() = default;
CEdit::~CEdit() = default;
BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "EDIT", nullptr, style, rect, parent, id);
}
void CEdit::GetSel(int& start, int& end) const {
    DWORD first = 0, last = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}
DWORD CEdit::GetSel() const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, EM_GETSEL, 0, 0));
}
void CEdit::SetSel(int start, int end, BOOL noScroll) {
    SendMessage(EM_SETSEL, start, end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}
void CEdit::SetSel(DWORD selection, BOOL noScroll) {
    SetSel(static_cast<short>(LOWORD(selection)), static_cast<short>(HIWORD(selection)), noScroll);
}
void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
    SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
}
void CEdit::SetLimitText(UINT max) {
    SendMessage(EM_SETLIMITTEXT, max);
}
void CEdit::LimitText(int chars) {
    SendMessage(EM_LIMITTEXT, chars);
}
UINT CEdit::GetLimitText() const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}
int CEdit::GetLineCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0));
}
int CEdit::GetLine(int index, LPSTR buffer, int maxLength) const {
    if (maxLength < 1)
        return 0;
    *reinterpret_cast<WORD*>(buffer) = static_cast<WORD>(maxLength);
    return static_cast<int>(::SendMessageA(m_hWnd, EM_GETLINE, index, reinterpret_cast<LPARAM>(buffer)));
}
BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly));
}
BOOL CEdit::GetModify() const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0));
}
void CEdit::SetModify(BOOL modified) {
    SendMessage(EM_SETMODIFY, modified);
}
BOOL CEdit::Undo() {
    return static_cast<BOOL>(SendMessage(EM_UNDO));
}
void CEdit::Clear() {
    SendMessage(WM_CLEAR);
}
void CEdit::Copy() {
    SendMessage(WM_COPY);
}
void CEdit::Cut() {
    SendMessage(WM_CUT);
}
void CEdit::Paste() {
    SendMessage(WM_PASTE);
}

// Combo box.
CComboBox::CComboBox() = default;
CComboBox::~CComboBox() = default;
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "COMBOBOX", nullptr, style, rect, parent, id);
}
int CComboBox::GetCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0));
}
int CComboBox::GetCurSel() const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0));
}
int CComboBox::SetCurSel(int select) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, select));
}
int CComboBox::AddString(LPCSTR text) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::InsertString(int index, LPCSTR text) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) {
    return static_cast<int>(SendMessage(CB_DELETESTRING, index));
}
void CComboBox::ResetContent() {
    SendMessage(CB_RESETCONTENT);
}
int CComboBox::GetLBText(int index, LPSTR text) const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)));
}
void CComboBox::GetLBText(int index, CString& text) const {
    const int length = GetLBTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    const int read = GetLBText(index, text.GetBuffer(length));
    text.ReleaseBuffer(read < 0 ? 0 : read);
}
int CComboBox::GetLBTextLen(int index) const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, index, 0));
}
int CComboBox::FindString(int startAfter, LPCSTR text) const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_FINDSTRING, startAfter, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::FindStringExact(int startAfter, LPCSTR text) const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, startAfter, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::SelectString(int startAfter, LPCSTR text) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(text)));
}
DWORD_PTR CComboBox::GetItemData(int index) const {
    return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, index, 0));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(SendMessage(CB_SETITEMDATA, index, static_cast<LPARAM>(data)));
}
void* CComboBox::GetItemDataPtr(int index) const {
    return reinterpret_cast<void*>(GetItemData(index));
}
int CComboBox::SetItemDataPtr(int index, void* data) {
    return SetItemData(index, reinterpret_cast<DWORD_PTR>(data));
}
int CComboBox::GetItemHeight(int index) const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETITEMHEIGHT, index, 0));
}
int CComboBox::SetItemHeight(int index, UINT height) {
    return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, index, height));
}
BOOL CComboBox::GetDroppedState() const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0));
}
void CComboBox::ShowDropDown(BOOL show) {
    SendMessage(CB_SHOWDROPDOWN, show);
}
BOOL CComboBox::LimitText(int maxChars) {
    return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, maxChars));
}
DWORD CComboBox::GetEditSel() const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, CB_GETEDITSEL, 0, 0));
}
BOOL CComboBox::SetEditSel(int start, int end) {
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end)));
}
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) {
    return 0;
}
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        result = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

// Scroll bar.
CScrollBar::CScrollBar() = default;
CScrollBar::~CScrollBar() = default;
BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "SCROLLBAR", nullptr, style, rect, parent, id);
}
int CScrollBar::GetScrollPos() const {
    return ::GetScrollPos(m_hWnd, SB_CTL);
}
int CScrollBar::SetScrollPos(int pos, BOOL redraw) {
    return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw);
}
void CScrollBar::GetScrollRange(LPINT minPos, LPINT maxPos) const {
    ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos);
}
void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) {
    ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) {
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, info);
}
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw) {
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
    return TRUE;
}
int CScrollBar::GetScrollLimit() {
    SCROLLINFO info = {};
    if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE))
        return 0;
    const int limit = info.nMax - (info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0);
    return limit > info.nMin ? limit : info.nMin;
}
void CScrollBar::ShowScrollBar(BOOL show) {
    ::ShowScrollBar(m_hWnd, SB_CTL, show);
}
BOOL CScrollBar::EnableScrollBar(UINT arrows) {
    return ::EnableScrollBar(m_hWnd, SB_CTL, arrows);
}
