#include "WindowOutline.h"

#include <qelImage.h>

void SetWindowOutline(HWND window, CImage& image) {
    if (BitCountToPixelFormat(image.BitCount()) != PixelFormat32bppARGB)
        return;
    const int w = static_cast<int>(image.Width());
    const int h = static_cast<int>(image.Height());
    HRGN region = ::CreateRectRgn(0, 0, w, h);
    if (!region)
        return;
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData data = {};
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        ::DeleteObject(region);
        return;
    }
    for (int y = 0; y < h; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < w; ++x) {
            if (row[x * 4 + 3] != 0)
                continue;
            HRGN pixel = ::CreateRectRgn(x, y, x + 1, y + 1);
            ::CombineRgn(region, region, pixel, RGN_XOR);
            ::DeleteObject(pixel);
        }
    }
    image.UnlockBits(&data);
    if (!::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
}
