#pragma once
// Common controls of the MFC-compatible layer: slider, spin button, progress bar and tool tips.
#include "afxwin.h"

class QEL_MFC_API CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl();
    ~CSliderCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetPos() const;
    void SetPos(int pos);
    void GetRange(int& minPos, int& maxPos) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE);
    void SetRangeMax(int maxPos, BOOL redraw = FALSE);
    int GetLineSize() const;
    int SetLineSize(int size);
    int GetPageSize() const;
    int SetPageSize(int size);
    void SetTicFreq(int freq);
    BOOL SetTic(int pos);
    void ClearTics(BOOL redraw = FALSE);
    void SetSelection(int minPos, int maxPos);
    void GetThumbRect(LPRECT rect) const;
    void GetChannelRect(LPRECT rect) const;
    CWnd* SetBuddy(CWnd* buddy, BOOL left = TRUE);
};

class QEL_MFC_API CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl();
    ~CSpinButtonCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetPos() const;
    int SetPos(int pos);
    int GetPos32(BOOL* error = nullptr) const;
    int SetPos32(int pos);
    void GetRange(int& lower, int& upper) const;
    DWORD GetRange() const;
    void SetRange(short lower, short upper);
    void GetRange32(int& lower, int& upper) const;
    void SetRange32(int lower, int upper);
    CWnd* GetBuddy() const;
    CWnd* SetBuddy(CWnd* buddy);
    int GetBase() const;
    int SetBase(int base);
    BOOL SetAccel(int count, UDACCEL* accel);
};

class QEL_MFC_API CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl();
    ~CProgressCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int GetPos() const;
    int SetPos(int pos);
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
    COLORREF SetBarColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
};

class QEL_MFC_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool for window (its whole client area when rect is null, else rect with the given id).
    BOOL AddTool(CWnd* window, LPCSTR text = LPSTR_TEXTCALLBACKA, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    BOOL AddTool(CWnd* window, UINT textId, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* window, UINT_PTR toolId = 0);
    void UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR toolId = 0);
    void GetText(CString& text, CWnd* window, UINT_PTR toolId = 0) const;
    void SetToolRect(CWnd* window, UINT_PTR toolId, LPCRECT rect);
    int GetToolCount() const;
    void RelayEvent(LPMSG msg);
    void Activate(BOOL activate);
    void SetDelayTime(UINT delay);
    void SetDelayTime(DWORD duration, int time);
    int SetMaxTipWidth(int width);
    void SetTipBkColor(COLORREF color);
    void SetTipTextColor(COLORREF color);
    void Pop();
    void Update();

private:
    void FillInToolInfo(TTTOOLINFOA& info, CWnd* window, UINT_PTR toolId) const;
};
