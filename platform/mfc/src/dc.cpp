// CDC and its paint, client and window contexts.
#include "afxwin.h"

#include "app_state.h"

namespace {

HDC HdcOf(const CDC* dc) {
    return dc ? dc->m_hDC : nullptr;
}

template <class T>
T* Wrap(HGDIOBJ previous) {
    return static_cast<T*>(CGdiObject::FromHandle(previous));
}

void RemovePermanent(CDC* dc) {
    if (!dc->m_hDC)
        return;
    auto& map = qelmfc::Thread().dcs;
    auto it = map.permanent.find(dc->m_hDC);
    if (it != map.permanent.end() && it->second == dc)
        map.permanent.erase(it);
}

} // namespace

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr), m_bOwnsDC(FALSE) {}

CDC::~CDC() {
    if (m_bOwnsDC && m_hDC)
        DeleteDC();
    else
        RemovePermanent(this);
}

CDC::operator HDC() const {
    return qelmfc::IsNull(this) ? nullptr : m_hDC;
}

HDC CDC::GetSafeHdc() const {
    return qelmfc::IsNull(this) ? nullptr : m_hDC;
}

CWnd* CDC::GetWindow() const {
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

CDC* __stdcall CDC::FromHandle(HDC handle) {
    if (!handle)
        return nullptr;
    auto& map = qelmfc::Thread().dcs;
    if (CDC* dc = map.Lookup(handle))
        return dc;
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = handle;
    map.temporary[handle] = dc;
    return dc;
}

void __stdcall CDC::DeleteTempMap() {
    qelmfc::DeleteTempMaps();
}

BOOL CDC::Attach(HDC handle) {
    if (!handle)
        return FALSE;
    m_hDC = m_hAttribDC = handle;
    qelmfc::Thread().dcs.permanent[handle] = this;
    return TRUE;
}

HDC CDC::Detach() {
    HDC handle = m_hDC;
    RemovePermanent(this);
    m_hDC = m_hAttribDC = nullptr;
    m_bOwnsDC = FALSE;
    return handle;
}

void CDC::SetAttribDC(HDC handle) {
    m_hAttribDC = handle;
}
void CDC::SetOutputDC(HDC handle) {
    m_hDC = handle;
}
void CDC::ReleaseAttribDC() {
    m_hAttribDC = nullptr;
}
void CDC::ReleaseOutputDC() {
    m_hDC = nullptr;
}
BOOL CDC::IsPrinting() const {
    return FALSE;
}

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) {
    if (!Attach(::CreateDCA(driver, device, output, static_cast<const DEVMODEA*>(initData))))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}
BOOL CDC::CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) {
    if (!Attach(::CreateICA(driver, device, output, static_cast<const DEVMODEA*>(initData))))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}
BOOL CDC::CreateCompatibleDC(CDC* dc) {
    if (!Attach(::CreateCompatibleDC(HdcOf(dc))))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}
BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}
int CDC::SaveDC() {
    return ::SaveDC(m_hDC);
}
BOOL CDC::RestoreDC(int savedDC) {
    return ::RestoreDC(m_hDC, savedDC);
}
int CDC::GetDeviceCaps(int index) const {
    return ::GetDeviceCaps(m_hAttribDC ? m_hAttribDC : m_hDC, index);
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}
CPen* CDC::SelectObject(CPen* pen) {
    return Wrap<CPen>(::SelectObject(m_hDC, pen->GetSafeHandle()));
}
CBrush* CDC::SelectObject(CBrush* brush) {
    return Wrap<CBrush>(::SelectObject(m_hDC, brush->GetSafeHandle()));
}
CFont* CDC::SelectObject(CFont* font) {
    return Wrap<CFont>(::SelectObject(m_hDC, font->GetSafeHandle()));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return Wrap<CBitmap>(::SelectObject(m_hDC, bitmap->GetSafeHandle()));
}
int CDC::SelectObject(CRgn* region) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, region->GetSafeHandle())));
}
CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->GetSafeHandle()));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    return ::SelectObject(m_hDC, object);
}
CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hDC);
}
int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
}
COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}
COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}
int CDC::SetBkMode(int mode) {
    return ::SetBkMode(m_hDC, mode);
}
COLORREF CDC::SetTextColor(COLORREF color) {
    return ::SetTextColor(m_hDC, color);
}
int CDC::GetROP2() const {
    return ::GetROP2(m_hDC);
}
int CDC::SetROP2(int mode) {
    return ::SetROP2(m_hDC, mode);
}
int CDC::GetStretchBltMode() const {
    return ::GetStretchBltMode(m_hDC);
}
int CDC::SetStretchBltMode(int mode) {
    return ::SetStretchBltMode(m_hDC, mode);
}
UINT CDC::GetTextAlign() const {
    return ::GetTextAlign(m_hDC);
}
UINT CDC::SetTextAlign(UINT flags) {
    return ::SetTextAlign(m_hDC, flags);
}
int CDC::GetMapMode() const {
    return ::GetMapMode(m_hDC);
}
int CDC::SetMapMode(int mode) {
    return ::SetMapMode(m_hDC, mode);
}
CPoint CDC::GetViewportOrg() const {
    POINT pt = {0, 0};
    ::GetViewportOrgEx(m_hDC, &pt);
    return CPoint(pt);
}
CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}
CPoint CDC::SetViewportOrg(POINT point) {
    return SetViewportOrg(point.x, point.y);
}
CPoint CDC::OffsetViewportOrg(int width, int height) {
    POINT old = {0, 0};
    ::OffsetViewportOrgEx(m_hDC, width, height, &old);
    return CPoint(old);
}
CPoint CDC::GetWindowOrg() const {
    POINT pt = {0, 0};
    ::GetWindowOrgEx(m_hDC, &pt);
    return CPoint(pt);
}
CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}
CPoint CDC::SetWindowOrg(POINT point) {
    return SetWindowOrg(point.x, point.y);
}
CPoint CDC::OffsetWindowOrg(int width, int height) {
    POINT old = {0, 0};
    ::OffsetWindowOrgEx(m_hDC, width, height, &old);
    return CPoint(old);
}
void CDC::DPtoLP(LPPOINT points, int count) const {
    ::DPtoLP(m_hDC, points, count);
}
void CDC::DPtoLP(LPRECT rect) const {
    ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}
void CDC::LPtoDP(LPPOINT points, int count) const {
    ::LPtoDP(m_hDC, points, count);
}
void CDC::LPtoDP(LPRECT rect) const {
    ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

int CDC::GetClipBox(LPRECT rect) const {
    return ::GetClipBox(m_hDC, rect);
}
int CDC::SelectClipRgn(CRgn* region) {
    return ::SelectClipRgn(m_hDC, static_cast<HRGN>(region ? region->GetSafeHandle() : nullptr));
}
int CDC::SelectClipRgn(CRgn* region, int mode) {
    return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(region ? region->GetSafeHandle() : nullptr), mode);
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
    return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::ExcludeClipRect(LPCRECT rect) {
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::IntersectClipRect(LPCRECT rect) {
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
}
BOOL CDC::PtVisible(int x, int y) const {
    return ::PtVisible(m_hDC, x, y);
}
BOOL CDC::RectVisible(LPCRECT rect) const {
    return ::RectVisible(m_hDC, rect);
}

CPoint CDC::GetCurrentPosition() const {
    POINT pt = {0, 0};
    ::GetCurrentPositionEx(m_hDC, &pt);
    return CPoint(pt);
}
CPoint CDC::MoveTo(int x, int y) {
    POINT old = {0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}
CPoint CDC::MoveTo(POINT point) {
    return MoveTo(point.x, point.y);
}
BOOL CDC::LineTo(int x, int y) {
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::LineTo(POINT point) {
    return LineTo(point.x, point.y);
}
BOOL CDC::Polyline(const POINT* points, int count) {
    return ::Polyline(m_hDC, points, count);
}
BOOL CDC::Polygon(const POINT* points, int count) {
    return ::Polygon(m_hDC, points, count);
}
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Rectangle(LPCRECT rect) {
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}
BOOL CDC::RoundRect(LPCRECT rect, POINT corner) {
    return RoundRect(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Ellipse(LPCRECT rect) {
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}
BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}
BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->GetSafeHandle()));
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(brush->GetSafeHandle()));
}
void CDC::InvertRect(LPCRECT rect) {
    ::InvertRect(m_hDC, rect);
}
BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
    return ::FillRgn(m_hDC, static_cast<HRGN>(region->GetSafeHandle()),
                     static_cast<HBRUSH>(brush->GetSafeHandle()));
}
BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
    return ::FrameRgn(m_hDC, static_cast<HRGN>(region->GetSafeHandle()),
                      static_cast<HBRUSH>(brush->GetSafeHandle()), width, height);
}
BOOL CDC::PaintRgn(CRgn* region) {
    return ::PaintRgn(m_hDC, static_cast<HRGN>(region->GetSafeHandle()));
}
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    // As MFC: through the background colour and an opaque empty text, which leaves the colour set.
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}
void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
               bottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}
void CDC::DrawFocusRect(LPCRECT rect) {
    ::DrawFocusRect(m_hDC, rect);
}
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
    return ::DrawEdge(m_hDC, rect, edge, flags);
}
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
    return ::DrawFrameControl(m_hDC, rect, type, state);
}
BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    return ::DrawIcon(m_hDC, x, y, icon);
}
BOOL CDC::DrawIcon(POINT point, HICON icon) {
    return DrawIcon(point.x, point.y, icon);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    return ::PatBlt(m_hDC, x, y, width, height, rop);
}
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, HdcOf(source), xSrc, ySrc, rop);
}
BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, width, height, HdcOf(source), xSrc, ySrc, srcWidth, srcHeight, rop);
}
BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                         int srcWidth, int srcHeight, UINT transparent) {
    return ::GdiTransparentBlt(m_hDC, x, y, width, height, HdcOf(source), xSrc, ySrc, srcWidth, srcHeight,
                               transparent);
}
BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, BLENDFUNCTION blend) {
    return ::GdiAlphaBlend(m_hDC, x, y, width, height, HdcOf(source), xSrc, ySrc, srcWidth, srcHeight, blend);
}
COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}
COLORREF CDC::GetPixel(POINT point) const {
    return GetPixel(point.x, point.y);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    return ::SetPixel(m_hDC, x, y, color);
}
COLORREF CDC::SetPixel(POINT point, COLORREF color) {
    return SetPixel(point.x, point.y, color);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int count) {
    return ::TextOutA(m_hDC, x, y, text, count);
}
BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text, text.GetLength());
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, LPINT widths) {
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, widths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT widths) {
    return ExtTextOut(x, y, options, rect, text, text.GetLength(), widths);
}
int CDC::DrawText(LPCSTR text, int count, LPRECT rect, UINT format) {
    return ::DrawTextA(m_hDC, text, count, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text, text.GetLength(), rect, format);
}
CSize CDC::GetTextExtent(LPCSTR text, int count) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, text, count, &size);
    return CSize(size);
}
CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text, text.GetLength());
}
CSize CDC::GetOutputTextExtent(const CString& text) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, text.GetLength(), &size);
    return CSize(size);
}
BOOL CDC::GetTextMetrics(LPTEXTMETRICA metrics) const {
    return ::GetTextMetricsA(m_hAttribDC ? m_hAttribDC : m_hDC, metrics);
}
int CDC::GetTextFace(int count, LPSTR faceName) const {
    return ::GetTextFaceA(m_hDC, count, faceName);
}
int CDC::GetTextFace(CString& faceName) const {
    const int length = ::GetTextFaceA(m_hDC, 0, nullptr);
    const int result = ::GetTextFaceA(m_hDC, length, faceName.GetBuffer(length));
    faceName.ReleaseBuffer();
    return result;
}
int CDC::SetTextCharacterExtra(int extra) {
    return ::SetTextCharacterExtra(m_hDC, extra);
}
int CDC::GetTextCharacterExtra() const {
    return ::GetTextCharacterExtra(m_hDC);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_ps(), m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}
CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::GetWindowDC(m_hWnd));
}
CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
