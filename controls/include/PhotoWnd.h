#pragma once
// The photo views: CPhotoWnd shows a CImage (never owned) at a zoom, centred in its parent's area when
// it fits and pannable by dragging when it does not; CPhotoWnd2 adds a colour dropper and reports pan
// presses, releases and dropper picks through three registered messages; CSrlWndPhoto pans with the
// standard scroll bars instead.
#include "qelControlApi.h"

#include <afxwin.h>

class CImage;
namespace Gdiplus {
class Graphics;
}

// Registered when the library loads; posted by CPhotoWnd2 with lParam 0.
extern QEL_CONTROL_API const UINT WM_QEL_PHOTOWND2_PANDOWN;   // "QEL_PHOTOWND2_PANDOWN"
extern QEL_CONTROL_API const UINT WM_QEL_PHOTOWND2_PANUP;     // "QEL_PHOTOWND2_PANUP"
extern QEL_CONTROL_API const UINT WM_QEL_PHOTOWND2_DROPPERPOS; // "QEL_PHOTOWND2_DROPPERPOS"

#define IDC_QEL_PAN_CURSOR 4001
#define IDC_QEL_DROPPER_CURSOR 4002

class QEL_CONTROL_API CPhotoWnd : public CWnd {
public:
    CPhotoWnd();
    ~CPhotoWnd() override;

    // The mode and cursor slots; subclasses override them, so their order is part of the interface.
    virtual void SetSelMode(int mode); // 0 none, 1 pan
    virtual void SetCurCursor();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL Create(const RECT& rect, CRect* border, CWnd* parent, UINT id);
    void Show(int n);
    // NULL is refused (returns NULL); otherwise the previous image, which stays the caller's.
    CImage* SetImage(CImage* image);
    CImage* _SetImage(CImage* image);
    CImage* GetImage();
    float GetZoom();
    BOOL IsFitToWindow();
    int GetSelMode();
    CPoint& GetOffset();
    void GetViewRect(RECT* rect);
    void SetNotifyWindow(HWND window);
    void SetBorder(CRect border);
    void ResetPos(BOOL reset);
    void SetZoomable(BOOL zoomable);
    // TRUE while zooming is allowed.
    BOOL IsZoomable();
    void SetPanMode(BOOL pan);
    // A zoom of 0 or less is refused.
    void SetZoom(float zoom, BOOL resize);
    void FitToWindow(int cx, int cy, int on);
    void ScaleToWindow(int cx, int cy, int on);
    void OnParentSize(int cx, int cy);
    void SetOffset(CPoint offset, BOOL redraw);
    void ShiftOffset(CPoint delta);
    void SetZoomOffset(CPoint zoomed, BOOL redraw);
    void ShiftZoomOffset(CSize delta);
    CPoint GetZoomPos(float zoom);
    CSize GetZoomSize(float zoom);
    void Paint(Gdiplus::Graphics& graphics);
    void Paint(CDC* dc);
    void PreDraw100();

protected:
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // The image when it has an area to show: an image without width or height counts as none.
    CImage* ShownImage();
    // The view extent in image pixels for the client size at the zoom.
    CSize ViewExtentInImage();
    // Keeps the offset within the zoomed image (zw, zh) shown in a view (vw, vh) when pannable, else (0, 0).
    void FitOffset(int zw, int zh, int vw, int vh);
    // Stores an acceptable zoom and gives the parent's client area (less the insets when asked);
    // false when the zoom is refused or there is no parent to place the view in.
    bool TakeZoom(float zoom, bool insets, CRect& area);
    void SetClassCursor(HCURSOR cursor);
    void BeginPan(CPoint point);
    // Sends WM_MOUSEMOVE's pan step; true when a pan drag is under way.
    void ContinuePan(CPoint point);
    HWND NotifyTarget();

public:
    CImage* m_pImage;
    HWND m_hNotifyWnd;
    float m_zoom;
    BOOL m_zoomLocked;
    BOOL m_fitToWindow;
    int m_mode;
    CRect m_border;
    HCURSOR m_panCursor;
    CPoint m_dragStart;
    CPoint m_offset;
    CPoint m_panOrigin;
    BOOL m_resetPos;
    BOOL m_pannable;
};

class QEL_CONTROL_API CPhotoWnd2 : public CPhotoWnd {
public:
    CPhotoWnd2();
    ~CPhotoWnd2() override;

    void SetSelMode(int mode) override;
    void SetCurCursor() override;
    void SetDropper(BOOL on);

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    HCURSOR m_dropperCursor;
    BOOL m_tracking;
    BOOL m_dropper;
};

class QEL_CONTROL_API CSrlWndPhoto : public CPhotoWnd {
public:
    CSrlWndPhoto();
    ~CSrlWndPhoto() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    void UseScroll(BOOL use);
    void Refresh();
    void SetZoom(float zoom);
    void OnParentSize(int cx, int cy);

protected:
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    DECLARE_MESSAGE_MAP()

    // One axis of OnParentSize: the view's extent and start on it, the bar set up or hidden.
    void PlaceAxis(int bar, int area, int zoomed, int scrollBarSize, int offset, int& extent, int& start);
    void Scroll(int bar, UINT code, UINT thumb);

public:
    BOOL m_useScroll;
};
