#pragma once
// CProgressCtrlEx: a progress bar that paints itself through CMemDC: background colour or brush; bar
// filled with a colour, a brush or a gradient through any number of colours; snake mode (a moving
// segment); percentage or position text in one colour over the bar and another over the background;
// vertical and reversed layouts; insets. CProgressCtrlEx2 shows the position as "value / total".
#include "MemDC.h"

#include <afxcmn.h>

// Window style bits of the bar, beside PBS_SMOOTH and PBS_VERTICAL.
#define PBS_EX_SHOWPERCENT 0x0100
#define PBS_EX_SHOWPOSITION 0x0200
#define PBS_EX_SHOWTEXT 0x0300
#define PBS_EX_TIEDTEXT 0x1000
#define PBS_EX_RUBBERBAR 0x2000
#define PBS_EX_REVERSE 0x4000
#define PBS_EX_SNAKE 0x8000

class QEL_CONTROL_API CProgressCtrlEx : public CProgressCtrl {
public:
    // What one paint hands the drawing slots. Spans along the bar axis travel as CRects whose left and
    // right are the span's ends.
    class QEL_CONTROL_API CDrawInfo {
    public:
        CDC* pDC;
        DWORD dwStyle;
        CRect rcClient; // the client rectangle less the insets
        int nCurPos;
        int nLower;
        int nUpper;
    };

    CProgressCtrlEx();
    ~CProgressCtrlEx() override;

    // The drawing and snake slots; subclasses override them, so their order is part of the interface.
    virtual void DrawMultiGradient(const CDrawInfo& info, const CRect& gradient, const CRect& bar);
    virtual void DrawGradient(const CDrawInfo& info, const CRect& band, const CRect& clip, COLORREF start,
                              COLORREF end);
    virtual void DrawTextA(const CDrawInfo& info, const CRect& whole, const CRect& bar);
    virtual void DrawClippedText(const CDrawInfo& info, const CRect& part, CString& text, const CPoint& origin);
    virtual BOOL SetSnakePos(int& oldPos, int pos, BOOL incremental);

    void SetGradientColors(COLORREF start, COLORREF end);
    void GetGradientColors(COLORREF& start, COLORREF& end);
    void SetGradientColorsX(int count, COLORREF first, COLORREF second, ...);
    const CDWordArray& GetGradientColorsX();
    void SetBarColor(COLORREF color);
    COLORREF GetBarColor();
    void SetBarBrush(CBrush* brush);
    CBrush* GetBarBrush();
    void SetBkColor(COLORREF color);
    COLORREF GetBkColor();
    void SetBkBrush(CBrush* brush);
    CBrush* GetBkBrush();
    void SetTextColor(COLORREF onBar, COLORREF onBk = 0xFFFFFFFF);
    COLORREF GetTextColor();
    COLORREF GetTextColorOnBk();

    void SetTextFormat(const char* format, DWORD style);
    void SetShowPercent(BOOL on = TRUE);
    BOOL GetShowPercent();
    void SetShowPosition(const char* text, BOOL on = TRUE);
    BOOL GetShowPosition();
    void HideText();
    void SetTiedText(BOOL on = TRUE);
    BOOL GetTiedText();
    void SetRubberBar(BOOL on = TRUE);
    BOOL GetRubberBar();
    void SetReverse(BOOL on = TRUE);
    BOOL GetReverse();
    void SetSnake(BOOL on = TRUE);
    BOOL GetSnake();
    void SetSnakeTail(int tail);
    int GetSnakeTail();
    void SetBorders(const CRect& insets);
    const CRect& GetBorders();

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg LRESULT OnSetBarColor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeltaPos(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetStep(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // A span [a, b] along the bar axis as the rectangle it covers in the inset client area.
    static CRect ConvertToReal(const CDrawInfo& info, const CRect& span);
    // The text of the bar for its format and the given values (one, or two when second is given).
    static CString FormatText(const CString& format, int first, const int* second);
    // Draws text centred on the bar (tied) or on the whole, in the two colours.
    void DrawBarText(const CDrawInfo& info, const CRect& whole, const CRect& bar, CString& text);
    void ToggleStyle(DWORD bit, BOOL on);
    void FillFlat(const CDrawInfo& info, const CRect& span, COLORREF color);

public:
    BOOL m_bSolidBar;
    CDWordArray m_gradientColors;
    COLORREF m_barColor;
    CBrush* m_pBarBrush;
    COLORREF m_bkColor;
    CBrush* m_pBkBrush;
    COLORREF m_textColorOnBar;
    COLORREF m_textColorOnBk;
    int m_snakeStart;
    int m_snakeTail;
    int m_step;
    CRect m_insets;
};

class QEL_CONTROL_API CProgressCtrlEx2 : public CProgressCtrlEx {
public:
    CProgressCtrlEx2();
    ~CProgressCtrlEx2() override;

    void DrawTextA(const CDrawInfo& info, const CRect& whole, const CRect& bar) override;
    void SetShowNumber(BOOL on = TRUE);
    BOOL GetShowNumber();
};
