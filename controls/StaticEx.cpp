// CStaticEx: background brush and image, font and colours, and the text-setting and enabling that
// redraw at once.
#include "StaticEx.h"

#include "LabelFormat.h"

#include <FontHelpers.h>
#include <qelImage.h>

#include "StripFile.h"

IMPLEMENT_DYNAMIC(CStaticEx, CStatic)

BEGIN_MESSAGE_MAP(CStaticEx, CWnd)
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CStaticEx::CStaticEx()
    : m_brush(NULL), m_image(NULL), m_drawType(5), m_textType(0), m_faceName("Arial"), m_fontSize(11), m_font(NULL),
      m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_grayColor(GetSysColor(COLOR_GRAYTEXT)), m_ownImage(TRUE) {}

CStaticEx::~CStaticEx() {
    if (m_brush)
        DeleteObject(m_brush);
    ReleaseImage();
    if (m_font)
        DeleteObject(m_font);
}

BOOL CStaticEx::PreCreateWindow(CREATESTRUCTA& cs) { return CStatic::PreCreateWindow(cs); }

void CStaticEx::ReleaseImage() {
    if (m_ownImage)
        delete m_image; // through the image's virtual destructor
    m_image = NULL;
}

void CStaticEx::OnDestroy() {
    if (m_brush)
        DeleteObject(m_brush);
    m_brush = NULL;
    ReleaseImage();
    if (m_font)
        DeleteObject(m_font);
    m_font = NULL;
    CWnd::OnDestroy();
}

void CStaticEx::SetDrawType(int type) { m_drawType = type; }
void CStaticEx::SetTextType(UINT type) { m_textType = type; }

void CStaticEx::SetBrushColor(COLORREF color) {
    if (HBRUSH brush = CreateSolidBrush(color))
        SetBrush(brush);
}

void CStaticEx::SetBrush(HBRUSH brush) {
    if (m_brush && m_brush != brush)
        DeleteObject(m_brush);
    m_brush = brush;
}

int CStaticEx::LoadImageFile(const char* file, int count) {
    CImageArray* image = qel_controls::LoadReadableStrip(file, count);
    if (!image)
        return 0; // the label keeps its image
    ReleaseImage();
    m_ownImage = TRUE;
    m_image = image;
    m_image->SetBorder(0, 0, 0, 0);
    return 1;
}

void CStaticEx::AdoptImage(CImageArray* image, BOOL own) {
    // The image it already holds is kept: deleting it would leave the label drawing freed memory.
    if (image != m_image)
        ReleaseImage();
    m_image = image;
    m_ownImage = own;
}

int CStaticEx::LoadBitmapA(const char* file) { return LoadImageFile(file, 1); }

int CStaticEx::LoadBitmapA(CImageArray* image, BOOL own) {
    if (!image)
        return 0;
    AdoptImage(image, own);
    m_image->SetBorder(0, 0, 0, 0);
    return 1;
}

void CStaticEx::SetBorder(int left, int top, int right, int bottom) {
    if (m_image)
        m_image->SetBorder(left, top, right, bottom);
}

void CStaticEx::SetTextFont(CString face, int size, UINT style, BYTE quality) {
    m_faceName = face;
    m_fontSize = qel_controls::LabelFontHeight(size);
    if (HFONT font = ql_xCreateFont2(face, m_fontSize, style, quality)) {
        if (m_font)
            DeleteObject(m_font);
        m_font = font;
    }
}

bool CStaticEx::AdoptFontCopy(HFONT font) {
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description))
        return false;
    HFONT copy = CreateFontIndirectA(&description);
    if (!copy)
        return false;
    if (m_font)
        DeleteObject(m_font);
    m_font = copy;
    return true;
}

void CStaticEx::SetTextFont(HFONT font) { AdoptFontCopy(font); }

void CStaticEx::SetTextFont(CFont* font) {
    if (font)
        AdoptFontCopy(static_cast<HFONT>(font->GetSafeHandle()));
}

void CStaticEx::SetTextFont(HWND window) {
    if (!window)
        return;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description))
        return;
    if (AdoptFontCopy(font)) {
        m_faceName = description.lfFaceName;
        m_fontSize = description.lfHeight;
    }
}

void CStaticEx::SetTextColor(COLORREF* normal, COLORREF* gray) {
    if (!normal)
        return;
    m_textColor = *normal;
    m_grayColor = gray ? *gray : *normal;
}

void CStaticEx::RedrawNow() { RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CStaticEx::SetWindowTextA(const char* text) {
    if (!GetSafeHwnd())
        return;
    if (!IsWindowVisible()) {
        CWnd::SetWindowTextA(text);
        return;
    }
    // One repaint after the text is in, not the static control's own half-painted one.
    SendMessage(WM_SETREDRAW, FALSE, 0);
    CWnd::SetWindowTextA(text);
    SendMessage(WM_SETREDRAW, TRUE, 0);
    RedrawNow();
}

void CStaticEx::EnableWindow(BOOL enable) {
    if (!GetSafeHwnd())
        return;
    // The style alone: no enable message reaches the label or its parent.
    ModifyStyle(enable ? WS_DISABLED : 0, enable ? 0 : WS_DISABLED);
    RedrawNow();
}

BOOL CStaticEx::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CStaticEx::CtlColor(CDC* dc, UINT ctlColor) {
    if (ctlColor == CTLCOLOR_STATIC) {
        ::SetTextColor(dc->m_hDC, m_textColor);
        ::SetBkMode(dc->m_hDC, TRANSPARENT);
    }
    return m_brush;
}

void CStaticEx::OnPaint() { PaintLabel(0); }

void CStaticEx::PaintLabel(int item) {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (m_brush)
        FillRect(dc.m_hDC, &client, m_brush);
    if (m_image)
        m_image->Draw(dc.m_hDC, 0, 0, client.Width(), client.Height(), item, m_drawType, SRCCOPY);
    const DWORD style = GetStyle();
    const UINT format = qel_controls::LabelTextFormat(m_textType, style);
    char text[260] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    if (!text[0])
        return;
    HGDIOBJ oldFont = m_font ? SelectObject(dc.m_hDC, m_font) : NULL;
    const int oldMode = SetBkMode(dc.m_hDC, TRANSPARENT);
    ::SetTextColor(dc.m_hDC, (style & WS_DISABLED) ? m_grayColor : m_textColor);
    DrawTextA(dc.m_hDC, text, -1, &client, format);
    SetBkMode(dc.m_hDC, oldMode);
    if (oldFont)
        SelectObject(dc.m_hDC, oldFont);
}
