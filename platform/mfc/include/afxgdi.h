#pragma once
// GDI wrappers of the MFC-compatible layer (included by afxwin.h): the object classes own their handle
// (the destructor deletes it unless it was detached) and the device-context classes wrap an HDC.
// FromHandle gives the object attached to a handle, or a temporary wrapper that the layer deletes at
// idle time (or when the thread ends) and that never deletes the handle.
#include "afx.h"

class CWnd;
class CDC;
class CBitmap;

class QEL_MFC_API CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject();
    ~CGdiObject() override;

    HGDIOBJ m_hObject;

    operator HGDIOBJ() const;
    HGDIOBJ GetSafeHandle() const;
    static CGdiObject* __stdcall FromHandle(HGDIOBJ handle);
    static void __stdcall DeleteTempMap();
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject(); // deletes the handle; FALSE when there is none
    int GetObject(int count, LPVOID buffer) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject();
    BOOL operator==(const CGdiObject& other) const;
    BOOL operator!=(const CGdiObject& other) const;
};

class QEL_MFC_API CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen();
    CPen(int style, int width, COLORREF color);
    ~CPen() override;
    static CPen* __stdcall FromHandle(HPEN handle);
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(LPLOGPEN logPen);
    int GetLogPen(LOGPEN* logPen);
    operator HPEN() const;
};

class QEL_MFC_API CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush();
    explicit CBrush(COLORREF color);
    CBrush(int hatchIndex, COLORREF color);
    explicit CBrush(CBitmap* bitmap);
    ~CBrush() override;
    static CBrush* __stdcall FromHandle(HBRUSH handle);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int index, COLORREF color);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* logBrush);
    operator HBRUSH() const;
};

class QEL_MFC_API CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont();
    ~CFont() override;
    static CFont* __stdcall FromHandle(HFONT handle);
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    // pointSize in tenths of a point, converted with dc's (or the screen's) vertical resolution.
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* logFont);
    operator HFONT() const;
};

class QEL_MFC_API CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap();
    ~CBitmap() override;
    static CBitmap* __stdcall FromHandle(HBITMAP handle);
    BOOL LoadBitmap(LPCSTR resourceName); // from the resource handle
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadOEMBitmap(UINT bitmapId);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(LPBITMAP bitmap);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateDiscardableBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap);
    DWORD SetBitmapBits(DWORD count, const void* bits);
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
    CSize SetBitmapDimension(int width, int height);
    CSize GetBitmapDimension() const;
    operator HBITMAP() const;
};

class QEL_MFC_API CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn();
    ~CRgn() override;
    static CRgn* __stdcall FromHandle(HRGN handle);
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateEllipticRgnIndirect(LPCRECT rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreateFromData(const XFORM* xform, int count, const RGNDATA* data);
    void SetRectRgn(int x1, int y1, int x2, int y2);
    void SetRectRgn(LPCRECT rect);
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int(CopyRgn)(const CRgn* source); // parenthesised: windowsx.h has a CopyRgn macro
    BOOL EqualRgn(const CRgn* other) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT point);
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const;
    BOOL RectInRegion(LPCRECT rect) const;
    int GetRegionData(LPRGNDATA data, int count) const;
    operator HRGN() const;
};

class QEL_MFC_API CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC();
    ~CDC() override; // deletes a DC it created (CreateDC, CreateCompatibleDC); a DC it was given is kept

    HDC m_hDC;
    HDC m_hAttribDC;

    operator HDC() const;
    HDC GetSafeHdc() const;
    CWnd* GetWindow() const;
    static CDC* __stdcall FromHandle(HDC handle);
    static void __stdcall DeleteTempMap();
    BOOL Attach(HDC handle);
    HDC Detach();
    virtual void SetAttribDC(HDC handle);
    virtual void SetOutputDC(HDC handle);
    virtual void ReleaseAttribDC();
    virtual void ReleaseOutputDC();
    BOOL IsPrinting() const;

    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
    BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
    BOOL CreateCompatibleDC(CDC* dc); // null: compatible with the screen
    BOOL DeleteDC();
    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const;

    CGdiObject* SelectStockObject(int index);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region); // the region's type, like SelectClipRgn
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    COLORREF GetBkColor() const;
    int GetBkMode() const;
    COLORREF GetTextColor() const;
    virtual COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    virtual COLORREF SetTextColor(COLORREF color);
    int GetROP2() const;
    int SetROP2(int mode);
    int GetStretchBltMode() const;
    int SetStretchBltMode(int mode);
    UINT GetTextAlign() const;
    UINT SetTextAlign(UINT flags);
    int GetMapMode() const;
    virtual int SetMapMode(int mode);
    CPoint GetViewportOrg() const;
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point);
    virtual CPoint OffsetViewportOrg(int width, int height);
    CPoint GetWindowOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point);
    CPoint OffsetWindowOrg(int width, int height);
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;

    virtual int GetClipBox(LPRECT rect) const;
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT rect);
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT rect);
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(LPCRECT rect) const;

    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point);
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point);
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT rect);
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL RoundRect(LPCRECT rect, POINT corner);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT rect);
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL PaintRgn(CRgn* region);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void DrawFocusRect(LPCRECT rect);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon);

    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, UINT transparent);
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, BLENDFUNCTION blend);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const;
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color);

    virtual BOOL TextOut(int x, int y, LPCSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text);
    virtual BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count,
                            LPINT widths);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT widths);
    virtual int DrawText(LPCSTR text, int count, LPRECT rect, UINT format);
    virtual int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const;
    CSize GetOutputTextExtent(const CString& text) const;
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const;
    int GetTextFace(int count, LPSTR faceName) const;
    int GetTextFace(CString& faceName) const;
    int SetTextCharacterExtra(int extra);
    int GetTextCharacterExtra() const;

protected:
    BOOL m_bOwnsDC; // created here: DeleteDC on destruction
};

// The window's paint context for the time of one WM_PAINT (BeginPaint .. EndPaint).
class QEL_MFC_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// The window's client-area context (GetDC .. ReleaseDC); a null window gives the screen's.
class QEL_MFC_API CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// The whole window's context (GetWindowDC .. ReleaseDC); a null window gives the screen's.
class QEL_MFC_API CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
