#pragma once
// Check boxes and radio buttons drawn from a six-frame strip, the caption beside the image.
// CCheckEx toggles itself on a click; CCheckEx2 also keeps the standard button's check state in step;
// CRadioEx leaves its check state to the owner; CRadioEx2 can tile an image behind its caption.
#include "ButtonEx.h"

class QEL_CONTROL_API CCheckEx : public CButtonEx {
    DECLARE_DYNAMIC(CCheckEx)
public:
    CCheckEx();
    ~CCheckEx() override;

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    int LoadBitmapA(CImageArray* strip, BOOL own) override;
    int LoadBitmapA(const char* file) override;

    void SetCheck(BOOL check); // sends nothing to the window
    BOOL GetCheck();

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Toggles when the press began on the control and the release lies inside it.
    bool ReleaseToggles(CPoint point);
    // The frame and the caption; a caption background image, when given, is tiled over the caption area
    // of an opaque button instead of the back colour.
    void DrawCheckItem(LPDRAWITEMSTRUCT item, CImageArray* captionBackground);

public:
    BOOL m_armed;
};

class QEL_CONTROL_API CCheckEx2 : public CCheckEx {
    DECLARE_DYNAMIC(CCheckEx2)
public:
    CCheckEx2();
    ~CCheckEx2() override;

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class QEL_CONTROL_API CRadioEx : public CCheckEx {
public:
    CRadioEx();
    ~CRadioEx() override;
    void SetCheck(BOOL check); // also sends BM_SETCHECK

protected:
    DECLARE_MESSAGE_MAP()
};

class QEL_CONTROL_API CRadioEx2 : public CRadioEx {
public:
    CRadioEx2();
    ~CRadioEx2() override; // deletes the caption background when the button owns its strip

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void SetTextBg(CImageArray* image); // stores the pointer only

    CImageArray* m_textBg;
};
