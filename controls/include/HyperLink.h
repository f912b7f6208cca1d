#pragma once
// CHyperLink: a link text that a parent window draws inside itself and feeds with its mouse moves and
// clicks; a click opens the URL (or the text itself when the URL is empty) through the shell.
#include "qelControlApi.h"

#include <afxwin.h>

class QEL_CONTROL_API CHyperLink {
public:
    CHyperLink();
    CHyperLink(const CHyperLink& other);
    CHyperLink& operator=(const CHyperLink& other);
    virtual ~CHyperLink();

    void Init(HWND parent, CRect rect);
    void SetURL(CString text, CString url); // an empty url means the text
    void SetColor(COLORREF normal, COLORREF visited, COLORREF hover); // hover 0xFFFFFFFF: the normal colour
    void SetUnderLine(BOOL underline); // stored only: the link font is always underlined
    // Resizes the rectangle to the text as the link font draws it.
    void FitText(UINT format);
    int OnClicked(CPoint point);   // 1 when the point was on the link, which it then opens
    int OnMouseMove(CPoint point); // whether the point is on the link; shows the hand over it
    int Draw(CDC* dc);
    // Bold and underlined Arial of 14; the caller deletes it.
    HFONT CreateLinkFont();

    HWND m_parent;
    COLORREF m_normalColor;
    COLORREF m_visitedColor;
    COLORREF m_hoverColor;
    BOOL m_visited;
    BOOL m_hover;
    BOOL m_underline;
    CString m_text;
    CString m_url;
    CRect m_rect;
    HCURSOR m_cursor;
};
