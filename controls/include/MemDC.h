#pragma once
// CMemDC: an off-screen device context over a rectangle of a target context; what is drawn into it
// reaches the target in one copy when the object goes, so a control repaints without flicker.
#include "qelControlApi.h"

#include <afxwin.h>

class QEL_CONTROL_API CMemDC : public CDC {
public:
    // rect NULL: the target's clip box. copy: start from the target's pixels instead of blank ones.
    CMemDC(CDC* dc, RECT* rect = NULL, BOOL copy = FALSE);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CMemDC* operator->() { return this; }
    operator CMemDC*() { return this; }

    CBitmap m_bitmap;
    CBitmap* m_oldBitmap;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC; // the target is not printing: drawing goes through the bitmap
};
