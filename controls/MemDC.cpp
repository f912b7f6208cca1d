// CMemDC: a compatible bitmap standing in for the target's rectangle until destruction.
#include "MemDC.h"

CMemDC::CMemDC(CDC* dc, RECT* rect, BOOL copy) : m_oldBitmap(NULL), m_pDC(dc), m_bMemDC(!dc->IsPrinting()) {
    if (!m_bMemDC) {
        // A printer context is drawn on directly: the object only borrows its handles.
        m_hDC = dc->m_hDC;
        m_hAttribDC = dc->m_hAttribDC;
        return;
    }
    if (rect)
        m_rect = *rect;
    else
        dc->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(dc))
        return;
    m_bitmap.CreateCompatibleBitmap(dc, m_rect.Width(), m_rect.Height());
    m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
    if (copy)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), dc, m_rect.left, m_rect.top, SRCCOPY);
}

CMemDC::~CMemDC() {
    if (!m_bMemDC) {
        m_hDC = NULL;
        m_hAttribDC = NULL;
        return;
    }
    if (!m_hDC)
        return;
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    if (m_oldBitmap)
        SelectObject(m_oldBitmap); // the bitmap is free again when m_bitmap deletes it
}
