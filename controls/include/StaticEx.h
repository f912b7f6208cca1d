#pragma once
// CStaticEx: skinned static text: an optional background brush and background image under its window
// text, drawn with its own font and colours. CStaticEx2 shows one chosen frame of a multi-frame strip.
#include "qelControlApi.h"

#include <afxwin.h>

class CImageArray;

class QEL_CONTROL_API CStaticEx : public CStatic {
    DECLARE_DYNAMIC(CStaticEx)
public:
    CStaticEx();
    ~CStaticEx() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    void SetDrawType(int type);
    void SetTextType(UINT type);
    void SetBrushColor(COLORREF color);
    void SetBrush(HBRUSH brush);
    int LoadBitmapA(const char* file);
    int LoadBitmapA(CImageArray* image, BOOL own);
    void SetBorder(int left, int top, int right, int bottom);
    void SetTextFont(CString face, int size, UINT style, BYTE quality);
    void SetTextFont(HFONT font);
    void SetTextFont(CFont* font);
    void SetTextFont(HWND window);
    void SetTextColor(COLORREF* normal, COLORREF* gray);
    void SetWindowTextA(const char* text);
    void EnableWindow(BOOL enable);

protected:
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    // Paints brush, image item and text on the paint context.
    void PaintLabel(int item);
    void ReleaseImage();
    // The image from a file with count frames and no border, owned; 0 when the file cannot be read or
    // the image made, the label then left as it was.
    int LoadImageFile(const char* file, int count);
    // Takes the image (keeping it when it is the one already held).
    void AdoptImage(CImageArray* image, BOOL own);
    // Takes a copy of the font (the caller keeps its own); false leaves the old font.
    bool AdoptFontCopy(HFONT font);
    void RedrawNow();

public:
    HBRUSH m_brush;
    CImageArray* m_image;
    int m_drawType;
    UINT m_textType;
    CString m_faceName;
    int m_fontSize;
    HFONT m_font;
    COLORREF m_textColor;
    COLORREF m_grayColor;
    BOOL m_ownImage;
};

class QEL_CONTROL_API CStaticEx2 : public CStaticEx {
    DECLARE_DYNAMIC(CStaticEx2)
public:
    CStaticEx2();
    ~CStaticEx2() override;

    int LoadBitmapA(const char* file, UINT count);
    int LoadBitmapA(CImageArray* strip, BOOL own);
    void SetIndex(UINT index);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

public:
    UINT m_count;
    UINT m_index;
};
