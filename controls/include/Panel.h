#pragma once
// CPanel: a background window filled from a nine-slice image or a brush. CScrollPanel: a window with
// scroll bars hosting a content panel larger than itself.
#include "qelControlApi.h"

#include <QelBorder.h>
#include <afxwin.h>

class CImageArray;

class QEL_CONTROL_API CPanel : public CWnd {
    DECLARE_DYNAMIC(CPanel)
public:
    CPanel();
    ~CPanel() override;

    // The panel's own virtual slot: dressing from the skin, which the plain panel does not do.
    virtual int CreateFromSetting(CWnd* parent, CRect& rect, char* section);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    void SetBrushColor(COLORREF color);
    void SetBrush(HBRUSH brush);
    COLORREF GetBrushColor();
    BOOL HasBitmap();
    void SetBorder(CBorder& border);
    CBorder GetBorder();
    void SetDrawType(int type);
    // 1 with the file's image; 0 for a file it cannot read, the panel left as it was.
    int LoadBitmapA(const char* file);
    int LoadBitmapA(CImageArray* image, BOOL own);
    void xPaint(CDC* dc);
    void xSize();

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    void ReleaseImage();
    // Nine-slice border a third of the image on each side.
    void BorderByThirds();

public:
    HBRUSH m_brush;
    COLORREF m_brushColor;
    CImageArray* m_image;
    int m_drawType;
    BOOL m_ownImage;
    CRect m_placement;
};

class QEL_CONTROL_API CScrollPanel : public CPanel {
    DECLARE_DYNAMIC(CScrollPanel)
public:
    CScrollPanel();
    ~CScrollPanel() override; // deletes the content panel

    virtual int xSetViewSize(int cx, int cy);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    void SetPanel(CPanel* panel);
    // Bits: 1 no vertical bar (and keep the relative position on resize; implies 2 and 4), 2 horizontal
    // bar always shown, 4 vertical bar always shown, 8 no horizontal bar.
    void SetScrollMode(WORD mode);
    // bar: SB_HORZ or SB_VERT; the stored maximum, page and position.
    void xSetScrollInfo(int bar, BOOL redraw);
    // An always-shown bar that is not needed stays visible, disabled.
    void xEnableScrollBar(int bar, BOOL enable);
    BOOL xHScroll(UINT code, UINT thumb);
    BOOL xVScroll(UINT code, UINT thumb);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    DECLARE_MESSAGE_MAP()

    // Moves the view along one axis (0 horizontal, 1 vertical) after a change of its position.
    void ScrollTo(int axis, int oldPos);

public:
    CSize m_viewSize;
    CPanel* m_panel;
    int m_scrollPos[2];  // horizontal, vertical
    int m_scrollMax[2];
    int m_scrollPage[2];
    BOOL m_allowed[2];   // the bar may be shown at all
    BOOL m_whenNeeded[2]; // shown only when the view does not fit, else always shown
    BOOL m_keepRelative;
};
