#pragma once
// CImageArray: a skin image holding several equal frames side by side (one per control state), with
// nine-slice insets, drawn one frame at a time in one of six modes.
#include "ImageObject.h"
#include <QelBorder.h>

class QEL_IMAGE_API CImageArray : public CImage {
public:
    // The file through GDI+'s decoders; a count below 1 counts as 1; the border copied when given.
    CImageArray(const char* path, int count, CBorder* border);
    CImageArray(int width, int height, int format, DWORD color);
    CImageArray(HBITMAP bitmap);
    virtual ~CImageArray();

    void SetCount(int count); // below 1 counts as 1
    int GetCount();
    int GetItemWidth();
    int GetItemHeight();
    CRect GetItemRect();
    void SetBorder(int left, int top, int right, int bottom);
    void SetBorder(CBorder& border);
    CBorder GetBorder();

    // Draws frame index (out of range: frame 0) in mode 0 natural size, 1 centred, 2 tiled,
    // 3 stretched, 5 nine-slice tiled, 6 nine-slice stretched; other modes draw nothing. The raster
    // operation is accepted and not used. Returns 1.
    int Draw(Gdiplus::Graphics& graphics, int x, int y, int w, int h, int index, int mode, DWORD rop);
    int Draw(HDC dc, int x, int y, int w, int h, int index, int mode, DWORD rop);
    int Draw(HDC dc, RECT rect, int index, int mode, DWORD rop);
    int Draw(Gdiplus::Graphics& graphics, RECT rect, int index, int mode, DWORD rop);
    int xDrawTile9(Gdiplus::Graphics& graphics, int x, int y, int w, int h, int index, int mode, DWORD rop);

private:
    int m_count;
    CBorder m_border;
};
