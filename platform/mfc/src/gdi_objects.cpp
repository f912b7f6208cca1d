// CGdiObject and the pen, brush, font, bitmap and region classes.
#include "afxwin.h"

#include "app_state.h"

namespace {

// The object attached to handle, else a temporary T for it.
template <class T>
T* FromHandleAs(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    auto& map = qelmfc::Thread().gdiObjects;
    if (CGdiObject* object = map.Lookup(handle))
        return static_cast<T*>(object);
    T* object = new T;
    object->m_hObject = handle;
    map.temporary[handle] = object;
    return object;
}

} // namespace

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::CGdiObject() : m_hObject(nullptr) {}

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject::operator HGDIOBJ() const {
    return qelmfc::IsNull(this) ? nullptr : m_hObject;
}

HGDIOBJ CGdiObject::GetSafeHandle() const {
    return qelmfc::IsNull(this) ? nullptr : m_hObject;
}

CGdiObject* __stdcall CGdiObject::FromHandle(HGDIOBJ handle) {
    return FromHandleAs<CGdiObject>(handle);
}

void __stdcall CGdiObject::DeleteTempMap() {
    qelmfc::DeleteTempMaps();
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (!handle)
        return FALSE;
    m_hObject = handle;
    qelmfc::Thread().gdiObjects.permanent[handle] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ handle = m_hObject;
    if (handle) {
        auto& map = qelmfc::Thread().gdiObjects;
        auto it = map.permanent.find(handle);
        if (it != map.permanent.end() && it->second == this)
            map.permanent.erase(it);
    }
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int count, LPVOID buffer) const {
    return ::GetObjectA(m_hObject, count, buffer);
}

UINT CGdiObject::GetObjectType() const {
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int index) {
    return Attach(::GetStockObject(index));
}

BOOL CGdiObject::UnrealizeObject() {
    return ::UnrealizeObject(m_hObject);
}

BOOL CGdiObject::operator==(const CGdiObject& other) const {
    return m_hObject == other.m_hObject;
}

BOOL CGdiObject::operator!=(const CGdiObject& other) const {
    return m_hObject != other.m_hObject;
}

// Pen.
CPen::CPen() = default;
CPen::CPen(int style, int width, COLORREF color) {
    CreatePen(style, width, color);
}
CPen::~CPen() = default;
CPen* __stdcall CPen::FromHandle(HPEN handle) {
    return FromHandleAs<CPen>(handle);
}
BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN logPen) {
    return Attach(::CreatePenIndirect(logPen));
}
int CPen::GetLogPen(LOGPEN* logPen) {
    return ::GetObjectA(m_hObject, sizeof(LOGPEN), logPen);
}
CPen::operator HPEN() const {
    return static_cast<HPEN>(GetSafeHandle());
}

// Brush.
CBrush::CBrush() = default;
CBrush::CBrush(COLORREF color) {
    CreateSolidBrush(color);
}
CBrush::CBrush(int hatchIndex, COLORREF color) {
    CreateHatchBrush(hatchIndex, color);
}
CBrush::CBrush(CBitmap* bitmap) {
    CreatePatternBrush(bitmap);
}
CBrush::~CBrush() = default;
CBrush* __stdcall CBrush::FromHandle(HBRUSH handle) {
    return FromHandleAs<CBrush>(handle);
}
BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(::CreateSolidBrush(color));
}
BOOL CBrush::CreateHatchBrush(int index, COLORREF color) {
    return Attach(::CreateHatchBrush(index, color));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush) {
    return Attach(::CreateBrushIndirect(logBrush));
}
BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
    return bitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->GetSafeHandle()))) : FALSE;
}
BOOL CBrush::CreateSysColorBrush(int index) {
    return Attach(::GetSysColorBrush(index));
}
int CBrush::GetLogBrush(LOGBRUSH* logBrush) {
    return ::GetObjectA(m_hObject, sizeof(LOGBRUSH), logBrush);
}
CBrush::operator HBRUSH() const {
    return static_cast<HBRUSH>(GetSafeHandle());
}

// Font.
CFont::CFont() = default;
CFont::~CFont() = default;
CFont* __stdcall CFont::FromHandle(HFONT handle) {
    return FromHandleAs<CFont>(handle);
}
BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont) {
    return Attach(::CreateFontIndirectA(logFont));
}
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}
BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc) {
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    lstrcpynA(logFont.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, dc);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc) {
    // lfHeight holds tenths of a point: make it the cell height in logical units of the context.
    HDC hdc = dc && dc->m_hAttribDC ? dc->m_hAttribDC : ::GetDC(nullptr);
    LOGFONTA font = *logFont;
    POINT pt = {0, MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), logFont->lfHeight, 720)};
    ::DPtoLP(hdc, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &origin, 1);
    font.lfHeight = -abs(pt.y - origin.y);
    if (!(dc && dc->m_hAttribDC))
        ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&font);
}
int CFont::GetLogFont(LOGFONTA* logFont) {
    return ::GetObjectA(m_hObject, sizeof(LOGFONTA), logFont);
}
CFont::operator HFONT() const {
    return static_cast<HFONT>(GetSafeHandle());
}

// Bitmap.
CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;
CBitmap* __stdcall CBitmap::FromHandle(HBITMAP handle) {
    return FromHandleAs<CBitmap>(handle);
}
BOOL CBitmap::LoadBitmap(LPCSTR resourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), resourceName));
}
BOOL CBitmap::LoadBitmap(UINT resourceId) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId)));
}
BOOL CBitmap::LoadOEMBitmap(UINT bitmapId) {
    return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(bitmapId)));
}
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP bitmap) {
    return Attach(::CreateBitmapIndirect(bitmap));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}
BOOL CBitmap::CreateDiscardableBitmap(CDC* dc, int width, int height) {
    return dc ? Attach(::CreateDiscardableBitmap(dc->m_hDC, width, height)) : FALSE;
}
int CBitmap::GetBitmap(BITMAP* bitmap) {
    return ::GetObjectA(m_hObject, sizeof(BITMAP), bitmap);
}
DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits) {
    return ::SetBitmapBits(static_cast<HBITMAP>(m_hObject), count, bits);
}
DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const {
    return ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), count, bits);
}
CSize CBitmap::SetBitmapDimension(int width, int height) {
    SIZE old = {0, 0};
    ::SetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), width, height, &old);
    return CSize(old);
}
CSize CBitmap::GetBitmapDimension() const {
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
    return CSize(size);
}
CBitmap::operator HBITMAP() const {
    return static_cast<HBITMAP>(GetSafeHandle());
}

// Region.
CRgn::CRgn() = default;
CRgn::~CRgn() = default;
CRgn* __stdcall CRgn::FromHandle(HRGN handle) {
    return FromHandleAs<CRgn>(handle);
}
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
    return Attach(::CreateRectRgnIndirect(rect));
}
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect) {
    return Attach(::CreateEllipticRgnIndirect(rect));
}
BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return Attach(::CreatePolygonRgn(points, count, fillMode));
}
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreateFromData(const XFORM* xform, int count, const RGNDATA* data) {
    return Attach(::ExtCreateRegion(xform, count, data));
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
    ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}
void CRgn::SetRectRgn(LPCRECT rect) {
    SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}
int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), a ? static_cast<HRGN>(a->m_hObject) : nullptr,
                        b ? static_cast<HRGN>(b->m_hObject) : nullptr, mode);
}
int(CRgn::CopyRgn)(const CRgn* source) {
    return CombineRgn(source, nullptr, RGN_COPY);
}
BOOL CRgn::EqualRgn(const CRgn* other) const {
    return other && ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(other->m_hObject));
}
int CRgn::OffsetRgn(int x, int y) {
    return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y);
}
int CRgn::OffsetRgn(POINT point) {
    return OffsetRgn(point.x, point.y);
}
int CRgn::GetRgnBox(LPRECT rect) const {
    return ::GetRgnBox(static_cast<HRGN>(m_hObject), rect);
}
BOOL CRgn::PtInRegion(int x, int y) const {
    return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y);
}
BOOL CRgn::PtInRegion(POINT point) const {
    return PtInRegion(point.x, point.y);
}
BOOL CRgn::RectInRegion(LPCRECT rect) const {
    return ::RectInRegion(static_cast<HRGN>(m_hObject), rect);
}
int CRgn::GetRegionData(LPRGNDATA data, int count) const {
    return static_cast<int>(::GetRegionData(static_cast<HRGN>(m_hObject), count, data));
}
CRgn::operator HRGN() const {
    return static_cast<HRGN>(GetSafeHandle());
}
