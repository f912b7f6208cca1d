#pragma once
// The program's vertical skinned sliders: CVSliderCtrlEx draws a channel strip and a four-frame thumb
// strip and moves the thumb up and down; CVSliderCtrlEx2 adds a step button above and below. Every
// change reaches the parent as a posted WM_VSCROLL; the keyboard never moves them.
#include <afxcmn.h>
#include <afxwin.h>
#include <objidl.h>
#include <gdiplus.h>

#include <ButtonEx.h>
#include <SliderCtrlEx.h>

class CImageArray;

class CVSliderCtrlEx : public CSliderCtrl {
public:
    CVSliderCtrlEx();
    ~CVSliderCtrlEx() override;

    virtual void xDraw();                                   // paints now, on a window context
    virtual void DrawChannel(Gdiplus::Graphics& graphics); // the channel under the thumb

    // Both strips are needed; the old ones are deleted when the slider owned them.
    BOOL LoadBitmap(CImageArray* channel, CImageArray* thumb, BOOL own);
    void SetRange(int min, int max);
    void SetPos(int pos);
    void SetBgColor(COLORREF color);
    // The span the thumb's centre moves along (top, bottom) and the thumb's left and right.
    void SetThumbRange(const RECT& range);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

    void Paint(HDC dc);
    void PlaceThumbFromPos();
    void PosFromThumb();
    // Moves the thumb towards the mouse's y; whether it moved.
    BOOL MoveThumbTowards(int x, int y);
    BOOL HitThumb(int x, int y);
    // Inside the thumb range, widened up and down by margin.
    BOOL InWidenedRange(CPoint point, int margin) const;
    void PostScroll(int code);
    void DeleteStrips();

public:
    COLORREF m_bgColor;
    CImageArray* m_channel = nullptr;
    CImageArray* m_thumb = nullptr;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    RECT m_thumbRect = {};
    RECT m_thumbRange = {};
    int m_thumbState = 0; // 0 normal, 1 pressed or dragged, 2 hover (3 is drawn when disabled)
    int m_lastX = 0, m_lastY = 0;
    int m_extent = 0;
    float m_pixelsPerStep = 0;
    int m_halfThumb = 0;
    RECT m_windowRect = {};
    BOOL m_dragging = FALSE;
    BOOL m_ownImages = TRUE;
};

class CVSliderCtrlEx2 : public CVSliderCtrlEx {
public:
    CVSliderCtrlEx2();
    ~CVSliderCtrlEx2() override;

    void xDraw() override;
    void DrawChannel(Gdiplus::Graphics& graphics) override;
    BOOL LoadSetting(_tagSLDCTRLEX2BUF& record, BOOL own);

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnStepUp();
    afx_msg void OnStepDown();
    DECLARE_MESSAGE_MAP()

    void CreateStepButton(CButtonEx& button, UINT id, CImageArray* strip, POINT place, BOOL own);

public:
    CButtonEx m_left;  // id 1, one step up
    CButtonEx m_right; // id 2, one step down
};
