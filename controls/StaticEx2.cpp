// CStaticEx2: an image indicator showing one frame of a multi-frame strip.
#include "StaticEx.h"

#include <qelImage.h>

IMPLEMENT_DYNAMIC(CStaticEx2, CStaticEx)

BEGIN_MESSAGE_MAP(CStaticEx2, CStaticEx)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CStaticEx2::CStaticEx2() : m_count(1), m_index(0) { m_drawType = 0; }
CStaticEx2::~CStaticEx2() = default;

int CStaticEx2::LoadBitmapA(const char* file, UINT count) {
    if (!LoadImageFile(file, static_cast<int>(count)))
        return 0; // the indicator keeps its strip and its frame count
    m_count = count;
    return 1;
}

int CStaticEx2::LoadBitmapA(CImageArray* strip, BOOL own) {
    if (!strip)
        return 0;
    AdoptImage(strip, own);
    m_count = static_cast<UINT>(strip->GetCount());
    return 1;
}

void CStaticEx2::SetIndex(UINT index) {
    // The count itself is a valid index: the strip draws an index past its last frame as frame 0.
    m_index = index < m_count ? index : m_count;
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CStaticEx2::OnPaint() { PaintLabel(static_cast<int>(m_index)); }
