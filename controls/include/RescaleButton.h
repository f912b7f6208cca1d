#pragma once
// CRescaleButton: a CButtonEx whose face is put together from a left cap, a centre repeated to any
// width and a right cap (each a strip of the button's frames), with the icon strip over the centre's
// start; its width can follow its caption, which may span lines and cast a shadow. CTabButtonEx is a
// five-frame tab built the same way that selects itself and fires its command on the press.
#include "ButtonEx.h"

class CImage;

enum TextStyle { TextSingleLine = 0, TextMultiLine = 1 };

class QEL_CONTROL_API CRescaleButton : public CButtonEx {
    DECLARE_DYNAMIC(CRescaleButton)
public:
    CRescaleButton();
    ~CRescaleButton() override;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // 1 with the file's image; 0 for a file it cannot read, the part left as it was.
    int LoadLeftBg(const char* file);
    int LoadCenterBg(const char* file);
    int LoadRightBg(const char* file);
    int LoadLeftBg(CImageArray* image, BOOL own);
    int LoadCenterBg(CImageArray* image, BOOL own);
    int LoadRightBg(CImageArray* image, BOOL own);
    void SetButtonPartWidth(int left, int centre, int right, BOOL fix);
    int GetLeftWidth();
    int GetCenterWidth();
    int GetRightWidth();
    BOOL GetFixFlag();
    void SetTextLine(TextStyle style);
    void SetTextShadowSize(CSize& offset);
    // Caption width in pixels on a window context as it comes; the widest line when multi-line.
    int GetTextLength();
    // Without fix the window's width; with fix the caps plus a centre rebuilt from caption and icon.
    int GetButtonWidth();
    // Back to the defaults of images, ownership, fix, text length and multi-line; deletes nothing.
    void InitImage();

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // Draws the three parts and the icon into an off-screen image of format and blends it on the item;
    // the centre is repeated, or stretched once over centre and right cap (then the cap drawn over it).
    void DrawFace(LPDRAWITEMSTRUCT item, int frame, int format, bool stretchCentre);
    void DrawPartCaption(LPDRAWITEMSTRUCT item);
    // The part frame frame of image drawn stretched over (x, 0, w, h).
    void DrawPart(CImage& target, CImageArray* image, int frame, int x, int w, int h);

public:
    BOOL m_multiLine;
    int m_textLength;
    CImageArray* m_pCenterImage;
    CImageArray* m_pRightImage;
    CImageArray* m_pLeftImage;
    int m_leftWidth;
    int m_centerWidth;
    int m_rightWidth;
    BOOL m_ownRight;
    BOOL m_ownCenter;
    BOOL m_ownLeft;
    BOOL m_fix;
    CSize m_shadowOffset;
};

class QEL_CONTROL_API CTabButtonEx : public CRescaleButton {
public:
    CTabButtonEx();
    ~CTabButtonEx() override;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
