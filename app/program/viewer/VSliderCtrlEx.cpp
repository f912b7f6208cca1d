// The vertical slider: range and position, the thumb's place, painting and the mouse.
#include "VSliderCtrlEx.h"

#include <qelImage.h>

BEGIN_MESSAGE_MAP(CVSliderCtrlEx, CSliderCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CVSliderCtrlEx::CVSliderCtrlEx() : m_bgColor(::GetSysColor(COLOR_WINDOW)) {}

CVSliderCtrlEx::~CVSliderCtrlEx() { DeleteStrips(); }

void CVSliderCtrlEx::DeleteStrips() {
    if (m_ownImages) {
        delete m_channel;
        delete m_thumb;
    }
    m_channel = nullptr;
    m_thumb = nullptr;
}

BOOL CVSliderCtrlEx::LoadBitmap(CImageArray* channel, CImageArray* thumb, BOOL own) {
    if (!channel || !thumb)
        return FALSE;
    if (m_ownImages && m_thumb != thumb)
        delete m_thumb;
    m_thumb = thumb;
    m_thumbWidth = static_cast<int>(thumb->Width());
    m_thumbHeight = static_cast<int>(thumb->Height());
    m_thumbRect = RECT{0, 0, m_thumbWidth, m_thumbHeight};
    m_halfThumb = m_thumbHeight / 2;
    if (m_ownImages && m_channel != channel)
        delete m_channel;
    m_channel = channel;
    m_ownImages = own;
    if (GetSafeHwnd()) {
        RECT client;
        GetClientRect(&client);
        m_thumbRange = RECT{client.left, client.top + 12, client.left + m_thumbWidth, client.bottom - 12};
        m_thumbRect.left = m_thumbRange.left;
        m_thumbRect.right = m_thumbRange.right;
    }
    return TRUE;
}

void CVSliderCtrlEx::SetThumbRange(const RECT& range) {
    m_thumbRange = range;
    m_thumbRect.left = range.left;
    m_thumbRect.right = range.right;
}

void CVSliderCtrlEx::SetBgColor(COLORREF color) { m_bgColor = color; }

void CVSliderCtrlEx::SetRange(int min, int max) {
    if (max <= min)
        max = min + 1;
    CSliderCtrl::SetRange(min, max, FALSE);
    m_extent = max - min;
    m_pixelsPerStep = static_cast<float>(m_thumbRange.bottom - m_thumbRange.top) / static_cast<float>(m_extent);
}

void CVSliderCtrlEx::SetPos(int pos) {
    if (pos < GetRangeMin() || pos > GetRangeMax())
        return;
    SendMessage(TBM_SETPOS, TRUE, pos);
    PlaceThumbFromPos();
    if (IsWindowVisible())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CVSliderCtrlEx::PlaceThumbFromPos() {
    const int h = m_thumbRect.bottom - m_thumbRect.top;
    const int span = m_thumbRange.bottom - m_thumbRange.top;
    // Before any range there is no step to place the thumb by: it waits at the top.
    const int offset = m_extent > 0 ? span * (GetPos() - GetRangeMin()) / m_extent : 0;
    m_thumbRect.top = m_thumbRange.top + offset - h / 2;
    m_thumbRect.bottom = m_thumbRect.top + h;
    m_lastX = (m_thumbRect.left + m_thumbRect.right) / 2;
    m_lastY = (m_thumbRect.top + m_thumbRect.bottom) / 2;
}

void CVSliderCtrlEx::PosFromThumb() {
    const int centre = (m_thumbRect.top + m_thumbRect.bottom) / 2;
    const int d = centre - m_thumbRange.top;
    const int height = m_thumbRange.bottom - m_thumbRange.top;
    int pos;
    if (centre == m_thumbRange.top || height <= 0)
        pos = GetRangeMin();
    else if (d <= height)
        pos = static_cast<int>(static_cast<double>(m_extent) * d / height + 0.5) + GetRangeMin();
    else
        pos = GetRangeMax();
    SendMessage(TBM_SETPOS, TRUE, pos);
}

BOOL CVSliderCtrlEx::MoveThumbTowards(int x, int y) {
    RECT candidate = m_thumbRect;
    OffsetRect(&candidate, 0, y - m_lastY);
    const int oldCentre = (m_thumbRect.top + m_thumbRect.bottom) / 2;
    const int newCentre = (candidate.top + candidate.bottom) / 2;
    const int h = m_thumbRect.bottom - m_thumbRect.top;
    if (newCentre < m_thumbRange.top && oldCentre > m_thumbRange.top) {
        candidate.top = m_thumbRange.top - m_halfThumb;
    } else if (newCentre > m_thumbRange.bottom && oldCentre < m_thumbRange.bottom) {
        candidate.top = m_thumbRange.bottom - m_halfThumb;
    } else if (newCentre < m_thumbRange.top || newCentre > m_thumbRange.bottom) {
        return FALSE;
    } else if (m_pixelsPerStep > 0) {
        // Snap to the step nearest the mouse.
        const int k = static_cast<int>((y - m_thumbRange.top) / m_pixelsPerStep + 0.5f);
        if (k >= GetRangeMax())
            candidate.top = m_thumbRange.bottom - m_halfThumb;
        else if (k <= GetRangeMin())
            candidate.top = m_thumbRange.top - m_halfThumb;
        else
            candidate.top = static_cast<int>(k * m_pixelsPerStep + m_thumbRange.top - m_halfThumb);
    }
    candidate.bottom = candidate.top + h;
    if (EqualRect(&candidate, &m_thumbRect))
        return FALSE;
    m_thumbRect = candidate;
    m_lastX = x;
    m_lastY = y;
    PosFromThumb();
    return TRUE;
}

BOOL CVSliderCtrlEx::HitThumb(int x, int y) {
    POINT point = {x, y};
    if (!m_thumb || !PtInRect(&m_thumbRect, point))
        return FALSE;
    if (Gdiplus::IsAlphaPixelFormat(m_thumb->GetPixelFormat())) {
        Gdiplus::Color colour;
        // A pixel that cannot be read counts as opaque.
        if (m_thumb->GetPixel(x - m_thumbRect.left, y - m_thumbRect.top, &colour) == Gdiplus::Ok &&
            colour.GetA() == 0)
            return FALSE;
    }
    return TRUE;
}

BOOL CVSliderCtrlEx::InWidenedRange(CPoint point, int margin) const {
    return point.x >= m_thumbRange.left && point.x < m_thumbRange.right && point.y >= m_thumbRange.top - margin &&
           point.y < m_thumbRange.bottom + margin;
}

void CVSliderCtrlEx::PostScroll(int code) {
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_VSCROLL, MAKEWPARAM(code, GetPos()), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CVSliderCtrlEx::OnEraseBkgnd(CDC*) { return TRUE; }

void CVSliderCtrlEx::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    Paint(dc);
    ::EndPaint(m_hWnd, &paint);
}

void CVSliderCtrlEx::xDraw() {
    HDC dc = ::GetDC(m_hWnd);
    Paint(dc);
    ::ReleaseDC(m_hWnd, dc);
}

void CVSliderCtrlEx::Paint(HDC dc) {
    Gdiplus::Graphics graphics(dc);
    DrawChannel(graphics);
    if (m_thumb) {
        const int frame = IsWindowEnabled() ? m_thumbState : 3;
        m_thumb->Draw(graphics, m_thumbRect.left, m_thumbRect.top, m_thumb->GetItemWidth(), m_thumb->GetItemHeight(),
                      frame, 0, SRCCOPY);
    }
}

void CVSliderCtrlEx::DrawChannel(Gdiplus::Graphics& graphics) {
    if (!m_channel)
        return;
    RECT client;
    GetClientRect(&client);
    DrawSliderChannel(graphics, *m_channel, client, m_bgColor);
}

void CVSliderCtrlEx::OnLButtonDown(UINT, CPoint point) {
    if (HitThumb(point.x, point.y)) {
        m_lastX = point.x;
        m_lastY = point.y;
        m_thumbState = 1;
        xDraw();
        SetCapture();
        m_dragging = TRUE;
        return;
    }
    if (!InWidenedRange(point, m_halfThumb))
        return;
    const int oldTop = m_thumbRect.top;
    if (MoveThumbTowards(point.x, point.y)) {
        SetCapture();
        xDraw();
        PostScroll(m_thumbRect.top > oldTop ? SB_PAGEDOWN : SB_PAGEUP);
    }
}

void CVSliderCtrlEx::OnMouseMove(UINT flags, CPoint point) {
    if (m_dragging && flags == MK_LBUTTON) {
        if (MoveThumbTowards(point.x, point.y)) {
            m_thumbState = 1;
            xDraw();
            PostScroll(SB_THUMBTRACK);
        }
        return;
    }
    if (HitThumb(point.x, point.y)) {
        if (GetCapture() != this)
            SetCapture();
        m_thumbState = 2;
        xDraw();
    } else if (GetCapture() == this) {
        ::ReleaseCapture();
        m_thumbState = 0;
        xDraw();
    }
}

void CVSliderCtrlEx::OnLButtonUp(UINT, CPoint) {
    if (GetCapture() != this)
        return;
    m_thumbState = 0;
    xDraw();
    ::ReleaseCapture();
    m_dragging = FALSE;
    PostScroll(SB_THUMBPOSITION);
}

void CVSliderCtrlEx::OnKeyDown(UINT, UINT, UINT) {} // the keyboard does not move the slider
