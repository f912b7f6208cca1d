// CPhotoWnd: the window class, the image, zoom, fitting, placement in the parent, offset and painting.
#include <objidl.h>
#include <gdiplus.h>

#include "PhotoWnd.h"

#include "LibraryModule.h"

#include <qelImage.h>

// Registered as the library loads, before any view exists.
const UINT WM_QEL_PHOTOWND2_PANDOWN = RegisterWindowMessageA("QEL_PHOTOWND2_PANDOWN");
const UINT WM_QEL_PHOTOWND2_PANUP = RegisterWindowMessageA("QEL_PHOTOWND2_PANUP");
const UINT WM_QEL_PHOTOWND2_DROPPERPOS = RegisterWindowMessageA("QEL_PHOTOWND2_DROPPERPOS");

BEGIN_MESSAGE_MAP(CPhotoWnd, CWnd)
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

namespace {

const char kClassName[] = "QEL_PhotoWindow";

void RegisterPhotoClass() {
    HINSTANCE module = qel_controls::LibraryModule();
    WNDCLASSA cls = {};
    if (GetClassInfoA(module, kClassName, &cls))
        return;
    cls.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = module;
    cls.hCursor = LoadCursorA(NULL, IDC_ARROW);
    cls.lpszClassName = kClassName;
    RegisterClassA(&cls);
}

int Scaled(int value, float zoom) { return static_cast<int>(value * 100 / zoom); }

} // namespace

CPhotoWnd::CPhotoWnd()
    : m_pImage(NULL), m_hNotifyWnd(NULL), m_zoom(100.0f), m_zoomLocked(FALSE), m_fitToWindow(FALSE), m_mode(0),
      m_border(0, 0, 0, 0),
      m_panCursor(LoadCursorA(qel_controls::LibraryModule(), MAKEINTRESOURCEA(IDC_QEL_PAN_CURSOR))),
      m_dragStart(0, 0), m_offset(0, 0), m_panOrigin(0, 0), m_resetPos(FALSE), m_pannable(FALSE) {
    RegisterPhotoClass();
}

CPhotoWnd::~CPhotoWnd() = default;

BOOL CPhotoWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = kClassName;
    cs.hInstance = qel_controls::LibraryModule(); // the class is the library's
    return TRUE;
}

BOOL CPhotoWnd::Create(const RECT& rect, CRect* border, CWnd* parent, UINT id) {
    if (border)
        m_border = *border;
    CRect r(rect);
    r.DeflateRect(m_border.left, m_border.top, m_border.right, m_border.bottom);
    return CreateEx(0, kClassName, "Photo Window", WS_CHILD | WS_CLIPSIBLINGS, r, parent, id);
}

void CPhotoWnd::Show(int n) { ShowWindow(n == 1 ? SW_SHOW : SW_HIDE); }

CImage* CPhotoWnd::SetImage(CImage* image) {
    if (!image)
        return NULL;
    CImage* previous = m_pImage;
    m_pImage = image;
    if (m_fitToWindow)
        m_offset = CPoint(0, 0);
    if (GetSafeHwnd())
        Invalidate(FALSE);
    return previous;
}

CImage* CPhotoWnd::_SetImage(CImage* image) {
    CImage* previous = m_pImage;
    m_pImage = image;
    return previous;
}

CImage* CPhotoWnd::GetImage() { return m_pImage; }
float CPhotoWnd::GetZoom() { return m_zoom; }
BOOL CPhotoWnd::IsFitToWindow() { return m_fitToWindow; }
int CPhotoWnd::GetSelMode() { return m_mode; }
CPoint& CPhotoWnd::GetOffset() { return m_offset; }
void CPhotoWnd::GetViewRect(RECT* rect) { GetClientRect(rect); }
void CPhotoWnd::SetNotifyWindow(HWND window) { m_hNotifyWnd = window; }
void CPhotoWnd::SetBorder(CRect border) { m_border = border; }
void CPhotoWnd::ResetPos(BOOL reset) { m_resetPos = reset; }
void CPhotoWnd::SetZoomable(BOOL zoomable) { m_zoomLocked = !zoomable; }
BOOL CPhotoWnd::IsZoomable() { return !m_zoomLocked; }
void CPhotoWnd::SetPanMode(BOOL pan) { SetSelMode(pan ? 1 : 0); }

CImage* CPhotoWnd::ShownImage() {
    return m_pImage && m_pImage->Width() > 0 && m_pImage->Height() > 0 ? m_pImage : NULL;
}

HWND CPhotoWnd::NotifyTarget() {
    if (m_hNotifyWnd)
        return m_hNotifyWnd;
    return ::GetParent(m_hWnd);
}

bool CPhotoWnd::TakeZoom(float zoom, bool insets, CRect& area) {
    // A zoom of 0 or less has no picture to show and would divide by zero everywhere.
    if (m_zoomLocked || !(zoom > 0))
        return false;
    m_zoom = zoom;
    CWnd* parent = GetSafeHwnd() ? GetParent() : NULL;
    if (!parent)
        return false;
    parent->GetClientRect(&area);
    if (insets)
        area.DeflateRect(m_border.left, m_border.top, m_border.right, m_border.bottom);
    Invalidate(FALSE);
    return true;
}

void CPhotoWnd::SetZoom(float zoom, BOOL resize) {
    CRect area;
    if (TakeZoom(zoom, true, area) && resize)
        OnParentSize(area.Width(), area.Height());
}

void CPhotoWnd::FitToWindow(int cx, int cy, int on) {
    if (cx == 0 || cy == 0)
        on = 0;
    CImage* image = ShownImage();
    if (on == 1 && image) {
        const int width = cx - m_border.left - m_border.right;
        const int height = cy - m_border.top - m_border.bottom;
        if (width > 0 && height > 0) { // insets that leave no area keep the zoom
            const float iw = static_cast<float>(image->Width());
            const float ih = static_cast<float>(image->Height());
            float zoom = 100.0f;
            if (iw >= width || ih >= height) {
                const float sx = width / iw;
                const float sy = height / ih;
                zoom = (sx < sy ? sx : sy) * 100.0f;
            }
            SetZoom(zoom, TRUE);
        }
    } else if (on != m_fitToWindow) {
        SetZoom(100.0f, TRUE);
    }
    m_fitToWindow = on;
}

void CPhotoWnd::ScaleToWindow(int cx, int cy, int on) {
    if (cx == 0 || cy == 0)
        on = 0;
    CImage* image = ShownImage();
    if (on == 1 && image) {
        const float sx = cx / static_cast<float>(image->Width());
        const float sy = cy / static_cast<float>(image->Height());
        SetZoom((sx < sy ? sx : sy) * 100.0f, TRUE);
    } else if (on != m_fitToWindow) {
        SetZoom(100.0f, TRUE);
    }
    m_fitToWindow = on;
}

void CPhotoWnd::FitOffset(int zw, int zh, int vw, int vh) {
    if (!m_pannable) {
        m_offset = CPoint(0, 0);
        return;
    }
    const CPoint limit(static_cast<int>((zw - vw) * 100 / m_zoom), static_cast<int>((zh - vh) * 100 / m_zoom));
    m_offset.x = m_offset.x < limit.x ? m_offset.x : limit.x;
    m_offset.y = m_offset.y < limit.y ? m_offset.y : limit.y;
}

void CPhotoWnd::OnParentSize(int cx, int cy) {
    CImage* image = ShownImage();
    if (!image || !GetSafeHwnd())
        return;
    m_pannable = FALSE;
    const int zw = static_cast<int>(image->Width() * m_zoom / 100);
    const int zh = static_cast<int>(image->Height() * m_zoom / 100);
    int x = 0, y = 0, vw = cx, vh = cy;
    if (cx < zw)
        m_pannable = TRUE;
    else
        vw = zw, x = (cx - zw) / 2;
    if (cy < zh)
        m_pannable = TRUE;
    else
        vh = zh, y = (cy - zh) / 2;
    FitOffset(zw, zh, vw, vh);
    SetCurCursor();
    SetWindowPos(NULL, x + m_border.left, y + m_border.top, vw, vh, SWP_NOZORDER);
}

CSize CPhotoWnd::ViewExtentInImage() {
    CRect client;
    GetClientRect(&client);
    return CSize(Scaled(client.Width(), m_zoom), Scaled(client.Height(), m_zoom));
}

void CPhotoWnd::SetOffset(CPoint offset, BOOL redraw) {
    CImage* image = ShownImage();
    if (!image || !GetSafeHwnd())
        return;
    const CSize view = ViewExtentInImage();
    const int limits[2] = {static_cast<int>(image->Width()) - view.cx, static_cast<int>(image->Height()) - view.cy};
    LONG* axes[2] = {&offset.x, &offset.y};
    for (int i = 0; i < 2; ++i) {
        if (*axes[i] > limits[i])
            *axes[i] = limits[i];
        if (*axes[i] < 0)
            *axes[i] = 0; // a view as large as the image starts at its edge
    }
    if (offset == m_offset)
        return;
    m_offset = offset;
    if (redraw)
        Invalidate(FALSE);
}

void CPhotoWnd::ShiftOffset(CPoint delta) { SetOffset(CPoint(m_offset.x + delta.x, m_offset.y + delta.y), TRUE); }

void CPhotoWnd::SetZoomOffset(CPoint zoomed, BOOL redraw) {
    SetOffset(CPoint(Scaled(zoomed.x, m_zoom), Scaled(zoomed.y, m_zoom)), redraw);
}

void CPhotoWnd::ShiftZoomOffset(CSize delta) { ShiftOffset(CPoint(Scaled(delta.cx, m_zoom), Scaled(delta.cy, m_zoom))); }

CPoint CPhotoWnd::GetZoomPos(float) { return m_offset; }

CSize CPhotoWnd::GetZoomSize(float zoom) {
    if (!m_pImage)
        return CSize(0, 0);
    return CSize(static_cast<int>(m_pImage->Width() * zoom / 100), static_cast<int>(zoom * m_pImage->Height() / 100));
}

void CPhotoWnd::Paint(Gdiplus::Graphics& graphics) {
    CImage* image = ShownImage();
    if (!image)
        return;
    CRect client;
    GetClientRect(&client);
    const CSize view = ViewExtentInImage();
    int x = m_offset.x, y = m_offset.y;
    if (x + view.cx > static_cast<int>(image->Width()))
        x = static_cast<int>(image->Width()) - view.cx;
    if (y + view.cy > static_cast<int>(image->Height()))
        y = static_cast<int>(image->Height()) - view.cy;
    image->DrawImage(graphics, 0, 0, client.Width(), client.Height(), x, y, view.cx, view.cy);
}

void CPhotoWnd::Paint(CDC* dc) {
    Gdiplus::Graphics graphics(dc->m_hDC);
    Paint(graphics);
}

void CPhotoWnd::OnPaint() {
    CPaintDC dc(this);
    Paint(&dc);
}

BOOL CPhotoWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

void CPhotoWnd::PreDraw100() {
    CImage* image = ShownImage();
    if (!image || !GetSafeHwnd())
        return;
    CRect client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    CPoint origin(0, 0);
    ClientToScreen(&origin);
    const int x = origin.x - window.left + (client.Width() > 11 ? 1 : 0);
    const int y = origin.y - window.top + (client.Height() > 11 ? 1 : 0);
    CWindowDC dc(this);
    image->DrawImage(dc.m_hDC, x, y, 10, 10, 0, 0, 10, 10);
}
