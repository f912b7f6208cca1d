// CButtonEx: state, strip ownership, enabling, hover tracking and the press/release posts.
#include "ButtonEx.h"

#include "ButtonLook.h"

#include <FontHelpers.h>
#include <qelImage.h>

#include "StripFile.h"

IMPLEMENT_DYNAMIC(CButtonEx, CButton)

BEGIN_MESSAGE_MAP(CButtonEx, CWnd)
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
END_MESSAGE_MAP()

CButtonEx::CButtonEx()
    : m_enabled(TRUE), m_frameCount(4), m_hover(FALSE), m_tracking(FALSE), m_showText(FALSE), m_textAlignment(1),
      m_transparent(TRUE), m_font(NULL), m_textColorNormal(GetSysColor(COLOR_BTNTEXT)),
      m_textColorDown(GetSysColor(COLOR_BTNTEXT)), m_textColorGray(GetSysColor(COLOR_GRAYTEXT)),
      m_textColorHoverNormal(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_textColorHoverDown(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_backColor(GetSysColor(COLOR_WINDOW)), m_imageInset(0), m_textOffset(0), m_buttonType(1), m_strip(NULL),
      m_checked(FALSE), m_useDisableLook(FALSE), m_disableLook(1), m_ownStrip(TRUE), m_notifyDown(FALSE),
      m_notifyUp(FALSE) {}

CButtonEx::~CButtonEx() {
    ReleaseStrip();
    if (m_font)
        DeleteObject(m_font);
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.DestroyWindow();
}

void CButtonEx::ReleaseStrip() {
    if (m_ownStrip)
        delete m_strip; // through the image's virtual destructor
    m_strip = NULL;
}

void CButtonEx::ShowText(BOOL show) { m_showText = show; }
void CButtonEx::SetTextOffset(int offset) { m_textOffset = offset; }
void CButtonEx::TransparentBk(BOOL transparent) { m_transparent = transparent; }
void CButtonEx::SetButtonType(int type) { m_buttonType = type; }
void CButtonEx::SetNotify(BOOL down, BOOL up) {
    m_notifyDown = down;
    m_notifyUp = up;
}

void CButtonEx::SetTextAlignment(int alignment) {
    m_textAlignment = qel_controls::ClampTextAlignment(alignment);
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CButtonEx::SetBkColor(COLORREF color) {
    m_backColor = color;
    m_transparent = FALSE;
}

void CButtonEx::SetDisableLook(int look) { m_disableLook = qel_controls::ClampDisableLook(look); }

void CButtonEx::SetTextColor(COLORREF normal, COLORREF* down, COLORREF* gray) {
    m_textColorNormal = normal;
    m_textColorDown = down ? *down : normal;
    m_textColorGray = gray ? *gray : normal;
    m_textColorHoverNormal = normal;
    m_textColorHoverDown = m_textColorDown;
}

void CButtonEx::SetHTextColor(COLORREF hoverNormal, COLORREF* hoverDown) {
    m_textColorHoverNormal = hoverNormal;
    if (hoverDown)
        m_textColorHoverDown = *hoverDown;
}

void CButtonEx::SetTextFont(CString face, int size, UINT style, BYTE quality) {
    if (m_font)
        DeleteObject(m_font);
    m_font = ql_xCreateFont2(face, size, style, quality); // NULL: the window's font is used
}

int CButtonEx::GetWidth() { return m_strip && m_frameCount > 0 ? m_strip->Width() / m_frameCount : 0; }
int CButtonEx::GetHeight() { return m_strip ? m_strip->GetItemHeight() : 0; }

BOOL CButtonEx::IsWindowEnabled() { return m_enabled; }

BOOL CButtonEx::EnableWindow(BOOL enable) {
    if (!GetSafeHwnd())
        return 0;
    m_enabled = enable;
    if ((GetStyle() & BS_OWNERDRAW) == BS_OWNERDRAW) {
        // The real window stays enabled so that hover tracking and the tooltip keep working.
        Invalidate(FALSE);
        return CWnd::EnableWindow(TRUE);
    }
    return CWnd::EnableWindow(enable);
}

BOOL CButtonEx::Enable(BOOL enable, BOOL useDisableLook) {
    const bool changed = m_enabled != enable || m_useDisableLook != useDisableLook;
    m_enabled = enable;
    m_useDisableLook = useDisableLook;
    if (!GetSafeHwnd())
        return 0;
    if (changed)
        Invalidate(FALSE);
    return CWnd::EnableWindow(TRUE);
}

void CButtonEx::SetCheck(BOOL check) {
    const bool changed = m_checked != check;
    m_checked = check;
    if (!GetSafeHwnd())
        return;
    if (changed)
        Invalidate(FALSE);
    SendMessage(BM_SETCHECK, check, 0);
}

int CButtonEx::LoadBitmapA(CImageArray* strip, BOOL own) {
    if (!strip)
        return 0;
    // The strip it already holds stays alive: deleting it would leave the button drawing freed memory.
    if (strip != m_strip)
        ReleaseStrip();
    m_strip = strip;
    m_ownStrip = own;
    ResizeToFrame();
    return 1;
}

int CButtonEx::LoadBitmapA(const char* file) {
    CImageArray* strip = qel_controls::LoadReadableStrip(file, 1);
    if (!strip)
        return 0; // the button keeps its strip and its size
    ReleaseStrip();
    m_ownStrip = TRUE;
    m_strip = strip;
    ResizeToFrame();
    return 1;
}

void CButtonEx::ResizeToFrame() {
    if (!m_strip || !GetSafeHwnd())
        return;
    SetWindowPos(NULL, 0, 0, GetWidth(), m_strip->Height(), SWP_NOMOVE | SWP_NOOWNERZORDER);
}

BOOL CButtonEx::OnEraseBkgnd(CDC*) { return TRUE; }

void CButtonEx::OnDestroy() {
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.DestroyWindow();
    CWnd::OnDestroy();
}

void CButtonEx::PostMouseNotification(BOOL wanted, UINT mouseMessage) {
    CWnd* parent = GetParent();
    if (wanted && parent)
        parent->PostMessage(GetWindowLongA(m_hWnd, GWL_ID), mouseMessage, 0);
}

void CButtonEx::OnLButtonDown(UINT, CPoint) {
    if (!m_enabled)
        return; // swallowed: no click
    PostMouseNotification(m_notifyDown, WM_LBUTTONDOWN);
    Default();
}

void CButtonEx::OnLButtonUp(UINT, CPoint) {
    if (!m_enabled)
        return;
    PostMouseNotification(m_notifyUp, WM_LBUTTONUP);
    Default();
}

void CButtonEx::OnMouseMove(UINT, CPoint) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track = {sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_tracking = _TrackMouseEvent(&track);
    }
    Default();
}

void CButtonEx::InvalidateWithParent() {
    // A transparent button needs the parent's background back before its new frame is blended over it.
    if (CWnd* parent = GetParent()) {
        CRect rect;
        GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        parent->InvalidateRect(&rect, FALSE);
    }
    Invalidate(FALSE);
}

LRESULT CButtonEx::OnMouseHover(WPARAM, LPARAM) {
    m_hover = TRUE;
    InvalidateWithParent();
    return 0;
}

LRESULT CButtonEx::OnMouseLeave(WPARAM, LPARAM) {
    m_tracking = FALSE;
    m_hover = FALSE;
    InvalidateWithParent();
    return 0;
}

void CButtonEx::OnKeyDown(UINT, UINT, UINT) {}
void CButtonEx::OnKeyUp(UINT, UINT, UINT) {}
