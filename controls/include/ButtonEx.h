#pragma once
// CButtonEx: owner-drawn push button skinned from an image strip (normal, pressed/checked, hover,
// disabled), with its own enabled flag, hover tracking, a tooltip and optional press/release posts.
// CButtonEx2 fires its command when the mouse goes down.
#include "qelControlApi.h"

#include <afxcmn.h>
#include <afxwin.h>

class CImageArray;
namespace qel_controls {
struct ButtonState;
}

class QEL_CONTROL_API CButtonEx : public CButton {
    DECLARE_DYNAMIC(CButtonEx)
public:
    CButtonEx();
    ~CButtonEx() override;

    // The button's own virtual slots; callers outside the library reach the strip loader through them,
    // so their order is part of the interface.
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    virtual int LoadBitmapA(CImageArray* strip, BOOL own);
    // 1 with the file's strip; 0 for a file it cannot read, the button left as it was.
    virtual int LoadBitmapA(const char* file);

    BOOL PreTranslateMessage(MSG* msg) override;

    void ShowText(BOOL show);
    void SetTextOffset(int offset);
    void TransparentBk(BOOL transparent);
    void SetButtonType(int type);
    void SetNotify(BOOL down, BOOL up);
    void SetTextAlignment(int alignment);
    void SetBkColor(COLORREF color);
    void SetDisableLook(int look);
    void SetTextColor(COLORREF normal, COLORREF* down, COLORREF* gray);
    void SetHTextColor(COLORREF hoverNormal, COLORREF* hoverDown);
    void SetTextFont(CString face, int size, UINT style, BYTE quality);
    int GetWidth();
    int GetHeight();
    BOOL IsWindowEnabled();
    BOOL EnableWindow(BOOL enable);
    BOOL Enable(BOOL enable, BOOL useDisableLook);
    void SetCheck(BOOL check);
    void SetToolTipText(int stringId, BOOL activate);
    void SetToolTipText(const char* text, BOOL activate);
    void InitToolTip();
    void ActivateTooltip(BOOL activate);

    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);

protected:
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void ResizeToFrame();
    void ReleaseStrip();
    void InvalidateWithParent();
    void DrawCaption(LPDRAWITEMSTRUCT item);
    // The window text, measured in measureArea, drawn from left to the client's right edge, vertically
    // centred, moved by (1, 1) when shifted, in the state's colour.
    void DrawCaptionText(LPDRAWITEMSTRUCT item, const CRect& measureArea, int left, bool shifted);
    // The state a paint reads from the button and the item state.
    qel_controls::ButtonState StateOf(UINT itemState) const;
    COLORREF CaptionColourOf(UINT itemState) const;
    // Composes the frame off-screen (starting from blank pixels of the given format) and blends it onto
    // the item's context; false when the off-screen image cannot be made.
    bool DrawFrame(LPDRAWITEMSTRUCT item, int frame, int format, bool fillBack);
    // Posts the press or release notification (message number = control ID) when asked for.
    void PostMouseNotification(BOOL wanted, UINT mouseMessage);

public:
    CToolTipCtrl m_tooltip;
    BOOL m_enabled;
    int m_frameCount;
    BOOL m_hover;
    BOOL m_tracking;
    BOOL m_showText;
    int m_textAlignment;
    BOOL m_transparent;
    HFONT m_font;
    COLORREF m_textColorNormal;
    COLORREF m_textColorDown;
    COLORREF m_textColorGray;
    COLORREF m_textColorHoverNormal;
    COLORREF m_textColorHoverDown;
    COLORREF m_backColor;
    int m_imageInset;
    int m_textOffset;
    int m_buttonType;
    CImageArray* m_strip;
    BOOL m_checked;
    BOOL m_useDisableLook;
    int m_disableLook;
    BOOL m_ownStrip;
    CString m_statusText;
    BOOL m_notifyDown;
    BOOL m_notifyUp;
};

class QEL_CONTROL_API CButtonEx2 : public CButtonEx {
    DECLARE_DYNAMIC(CButtonEx2)
public:
    CButtonEx2();
    ~CButtonEx2() override;

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnClicked();
    DECLARE_MESSAGE_MAP()

public:
    BOOL m_pressed;
};
