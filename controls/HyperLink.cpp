// CHyperLink: drawing, fitting, hover and opening of a link drawn by its parent.
#include "HyperLink.h"

#include "LinkCursor.h"

#include <FontHelpers.h>

#include <shellapi.h>

namespace {

// The control library's own module, where the hand cursor lives.
HINSTANCE LibraryModule() {
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&LibraryModule), &module);
    return module;
}

// Selects a font into a context for one drawing and restores and deletes it after.
class LinkFontOn {
public:
    LinkFontOn(HDC dc, HFONT font) : dc_(dc), font_(font), old_(font ? SelectObject(dc, font) : NULL) {}
    ~LinkFontOn() {
        if (old_)
            SelectObject(dc_, old_);
        if (font_)
            DeleteObject(font_);
    }
    LinkFontOn(const LinkFontOn&) = delete;
    LinkFontOn& operator=(const LinkFontOn&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

} // namespace

CHyperLink::CHyperLink()
    : m_parent(NULL), m_normalColor(0xEE0000), m_visitedColor(0x8B1A55), m_hoverColor(0x0000FF), m_visited(FALSE),
      m_hover(FALSE), m_underline(TRUE), m_rect(0, 0, 0, 0),
      m_cursor(LoadCursorA(LibraryModule(), MAKEINTRESOURCEA(kLinkCursorId))) {}

CHyperLink::CHyperLink(const CHyperLink& other) = default;
CHyperLink& CHyperLink::operator=(const CHyperLink& other) = default;
CHyperLink::~CHyperLink() = default; // the cursor is a shared resource: never destroyed

void CHyperLink::Init(HWND parent, CRect rect) {
    m_parent = parent;
    m_rect = rect;
}

void CHyperLink::SetURL(CString text, CString url) {
    m_text = text;
    m_url = url.IsEmpty() ? text : url;
}

void CHyperLink::SetColor(COLORREF normal, COLORREF visited, COLORREF hover) {
    m_normalColor = normal;
    m_visitedColor = visited;
    m_hoverColor = hover == 0xFFFFFFFF ? normal : hover;
}

void CHyperLink::SetUnderLine(BOOL underline) { m_underline = underline; }

HFONT CHyperLink::CreateLinkFont() { return ql_xCreateFont2("Arial", 14, 1 | 4, 4); }

int CHyperLink::Draw(CDC* dc) {
    if (!dc)
        return 0;
    HDC hdc = dc->m_hDC;
    LinkFontOn font(hdc, CreateLinkFont());
    const COLORREF colour = m_hover ? m_hoverColor : m_visited ? m_visitedColor : m_normalColor;
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    CRect rect = m_rect;
    DrawTextA(hdc, m_text, -1, &rect, DT_SINGLELINE);
    SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColour);
    return 1;
}

void CHyperLink::FitText(UINT format) {
    if (!m_parent)
        return;
    HDC dc = ::GetDC(m_parent);
    if (!dc)
        return;
    {
        LinkFontOn font(dc, CreateLinkFont());
        DrawTextA(dc, m_text, -1, &m_rect, format | DT_SINGLELINE | DT_CALCRECT);
    }
    ::ReleaseDC(m_parent, dc);
}

int CHyperLink::OnMouseMove(CPoint point) {
    if (!m_parent)
        return 0;
    const BOOL hover = m_rect.PtInRect(point);
    if (hover && m_cursor)
        SetCursor(m_cursor);
    if (hover != m_hover) {
        m_hover = hover;
        ::InvalidateRect(m_parent, &m_rect, TRUE);
    }
    return hover;
}

int CHyperLink::OnClicked(CPoint point) {
    if (!m_parent || !m_rect.PtInRect(point))
        return 0;
    ShellExecuteA(m_parent, "open", m_url, NULL, NULL, SW_SHOWNORMAL);
    m_visited = TRUE;
    return 1;
}
