#pragma once
// CSliderCtrlEx: horizontal slider drawn from a nine-slice channel image and a four-frame thumb strip
// (normal, pressed, hover, disabled). The trackbar underneath keeps range and position; the slider
// paints, hit-tests, drags, pages and steps by key itself and posts every change to its parent as
// WM_HSCROLL. CSliderCtrlEx2 adds a step button at each end.
#include "ButtonEx.h"
#include "qelControlApi.h"

#include <QelBorder.h>
#include <afxcmn.h>
#include <afxwin.h>

#include <objidl.h> // IStream for the GDI+ header under the lean Windows header
#include <gdiplus.h>

class CImageArray;

// Draws a slider's channel nine-sliced over the client rectangle; a channel with alpha is first
// flattened onto the background colour, so what shows through it is the slider's own background.
QEL_CONTROL_API void DrawSliderChannel(Gdiplus::Graphics& graphics, CImageArray& channel, const RECT& client,
                                       COLORREF background);

// The program's record of a slider dressed from images it made (the slider reads all but leftPos).
struct _tagSLDCTRLEXBUF {
    RECT rect;       // window rectangle in the parent's client coordinates
    RECT thumbRange; // ignored when empty
    CBorder border;  // nine-slice insets of the channel
    int min;
    int max;
    int pos;
    POINT leftPos;
    CImageArray* channel;
    CImageArray* thumb; // four frames
};

// The same dressed from image files.
struct _tagSLDCTRLEX {
    RECT rect;
    char channelFile[260];
    RECT thumbRange;
    CBorder border;
    char thumbFile[260];
    int min;
    int max;
    int pos;
};

// The file record of the two-button slider.
struct _SLDCTRLEX2 {
    RECT rect;
    char channelFile[260];
    RECT thumbRange;
    CBorder border;
    char thumbFile[260];
    int min;
    int max;
    int pos;
    POINT leftPos;
    char leftFile[260];
    POINT rightPos;
    char rightFile[260];
};

// The image record of the two-button slider; note the right button's strip comes before the left's.
struct _tagSLDCTRLEX2BUF {
    RECT rect;
    RECT thumbRange;
    CBorder border;
    int min;
    int max;
    int pos;
    POINT leftPos;
    POINT rightPos;
    CImageArray* channel;
    CImageArray* thumb;
    CImageArray* rightStrip;
    CImageArray* leftStrip;
};

class QEL_CONTROL_API CSliderCtrlEx : public CSliderCtrl {
    DECLARE_DYNAMIC(CSliderCtrlEx)
public:
    CSliderCtrlEx();
    ~CSliderCtrlEx() override;

    // The slider's own virtual slots, in this order.
    virtual void xDraw();                                    // paints now, on a window context
    virtual void DrawChannel(Gdiplus::Graphics& graphics); // the channel under the thumb

    void SetBgColor(COLORREF color);
    void SetBorder(CBorder& border);
    void SetThumbRange(CRect range);
    void SetRange(int min, int max);
    void SetPos(int pos);
    int GetHeight();

    int LoadBitmapA(CImageArray* channel, CImageArray* thumb, BOOL own);
    int LoadBitmapA(const char* channelFile, const char* thumbFile);
    int LoadSetting(const char* folder, const char* iniFile, const char* section);
    int LoadSetting(_tagSLDCTRLEX& record);
    int LoadSetting(_tagSLDCTRLEXBUF& record, BOOL own);

    void DrawHorizontalThumb(Gdiplus::Graphics& graphics);
    BOOL xHitThum(CPoint point);
    BOOL xAdjustBtn(CPoint point);
    void UnitOffset(CPoint point, CRect& rect);
    void xPosToBtnPosition();
    void xBtnPositionToPos();

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

    // WM_HSCROLL to the parent with the code and the position as it is now.
    void PostScroll(int code);
    // Whether the point lies on the track widened by half a thumb on each side.
    BOOL InWidenedTrack(CPoint point) const;
    int ThumbCentreX() const;
    void ReleaseStrips();
    // The record steps after the images: thumb range (when not empty), border, range, position.
    void ApplyRecord(const RECT& thumbRange, const CBorder& border, int min, int max, int pos);
    void PlaceWindow(const RECT& rect); // the record's rectangle, in the parent's client coordinates

public:
    COLORREF m_bgColor;
    CImageArray* m_channel;
    CImageArray* m_thumb;
    CSize m_thumbSize;
    CRect m_thumbRect;
    CRect m_thumbRange;
    int m_thumbState;
    CPoint m_lastPoint;
    int m_span;
    float m_unit;
    int m_halfThumb;
    BOOL m_dragging;
    BOOL m_ownStrips;
};

class QEL_CONTROL_API CSliderCtrlEx2 : public CSliderCtrlEx {
    DECLARE_DYNAMIC(CSliderCtrlEx2)
public:
    CSliderCtrlEx2();
    ~CSliderCtrlEx2() override;

    void xDraw() override;
    void DrawChannel(Gdiplus::Graphics& graphics) override;

    int LoadSetting(const char* folder, const char* iniFile, const char* section);
    int LoadSetting(_SLDCTRLEX2& record);
    int LoadSetting(_tagSLDCTRLEX2BUF& record, BOOL own);
    void SetRightPos(CPoint point);
    BOOL EnableWindow(BOOL enable);

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnClickLeft();
    afx_msg void OnClickRight();
    DECLARE_MESSAGE_MAP()

    // Creates the step button when it has no window yet (and create is asked for); false without a window.
    bool EnsureButton(CButtonEx& button, UINT id, bool create);
    void PlaceButton(CButtonEx& button, POINT point);

public:
    CButtonEx m_leftButton;  // control ID 1
    CButtonEx m_rightButton; // control ID 2
};
