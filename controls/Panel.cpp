// CPanel: the background window, painted while its background is erased.
#include "Panel.h"

#include <RectHelpers.h>
#include <qelImage.h>

#include "StripFile.h"

IMPLEMENT_DYNAMIC(CPanel, CWnd)

BEGIN_MESSAGE_MAP(CPanel, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPanel::CPanel()
    : m_brush(NULL), m_brushColor(0xFFFFFF), m_image(NULL), m_drawType(5), m_ownImage(TRUE), m_placement(0, 0, 0, 0) {}

CPanel::~CPanel() {
    if (m_brush)
        DeleteObject(m_brush);
    ReleaseImage();
}

int CPanel::CreateFromSetting(CWnd*, CRect&, char*) { return 1; }

BOOL CPanel::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.hMenu = NULL;
    cs.style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    cs.dwExStyle = 0;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, NULL, NULL, NULL);
    return cs.lpszClass != NULL;
}

void CPanel::ReleaseImage() {
    if (m_ownImage)
        delete m_image; // through the image's virtual destructor
    m_image = NULL;
}

void CPanel::SetBrushColor(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush)
        return;
    SetBrush(brush);
    m_brushColor = color;
}

void CPanel::SetBrush(HBRUSH brush) {
    if (m_brush && m_brush != brush)
        DeleteObject(m_brush);
    m_brush = brush;
}

COLORREF CPanel::GetBrushColor() { return m_brushColor; }
BOOL CPanel::HasBitmap() { return m_image != NULL; }

void CPanel::SetBorder(CBorder& border) {
    if (m_image)
        m_image->SetBorder(border);
}

CBorder CPanel::GetBorder() { return m_image ? m_image->GetBorder() : CBorder(); }

void CPanel::SetDrawType(int type) { m_drawType = type; }

void CPanel::BorderByThirds() {
    const int w = static_cast<int>(m_image->Width()) / 3;
    const int h = static_cast<int>(m_image->Height()) / 3;
    m_image->SetBorder(w, h, w, h);
}

int CPanel::LoadBitmapA(const char* file) {
    CImageArray* image = qel_controls::LoadReadableStrip(file, 1);
    if (!image)
        return 0; // the panel keeps its image
    ReleaseImage();
    m_ownImage = TRUE;
    m_image = image;
    BorderByThirds();
    return 1;
}

int CPanel::LoadBitmapA(CImageArray* image, BOOL own) {
    if (!image)
        return 0;
    // The image it already holds is kept: deleting it would leave the panel drawing freed memory.
    if (image != m_image)
        ReleaseImage();
    m_image = image;
    m_ownImage = own;
    BorderByThirds();
    return 1;
}

void CPanel::xPaint(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    if (m_image)
        m_image->Draw(dc->m_hDC, client, 0, m_drawType, SRCCOPY);
    else if (m_brush)
        FillRect(dc->m_hDC, &client, m_brush);
}

BOOL CPanel::OnEraseBkgnd(CDC* dc) {
    xPaint(dc);
    return TRUE;
}

void CPanel::xSize() {
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect area;
    parent->GetClientRect(&area);
    if (area.IsRectEmpty())
        return;
    RECT placed = {};
    ql_AlignRect(&placed, &area, &m_placement);
    SetWindowPos(NULL, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, SWP_NOZORDER);
}
