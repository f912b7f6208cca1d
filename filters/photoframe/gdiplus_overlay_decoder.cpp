#include "gdiplus_overlay_decoder.h"

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

namespace {

// One GDI+ session, ended whichever way the decode leaves.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;  // version 1
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession() {
        if (started_)
            Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

class FlatBitmap {
public:
    explicit FlatBitmap(const std::wstring& path) {
        if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap_) != Gdiplus::Ok)
            bitmap_ = nullptr;
    }
    ~FlatBitmap() {
        if (bitmap_)
            Gdiplus::DllExports::GdipDisposeImage(bitmap_);
    }
    FlatBitmap(const FlatBitmap&) = delete;
    FlatBitmap& operator=(const FlatBitmap&) = delete;
    Gdiplus::GpBitmap* get() const { return bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

}  // namespace

bool CGdiplusOverlayDecoder::Decode(const std::wstring& path, OverlayImage& image) {
    image = OverlayImage{};
    GdiplusSession session;
    if (!session.started())
        return false;
    FlatBitmap bitmap(path);
    if (!bitmap.get())
        return false;

    UINT width = 0, height = 0;
    if (Gdiplus::DllExports::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 || height == 0 ||
        width > static_cast<UINT>(kMaxOverlaySide) || height > static_cast<UINT>(kMaxOverlaySide))
        return false;

    const Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked{};
    if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap.get(), &whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite,
                                                PixelFormat32bppARGB, &locked) != Gdiplus::Ok)
        return false;

    // Scan0 is the top row; a negative stride means the rows lie bottom-up in memory.
    const uint8_t* top = static_cast<const uint8_t*>(locked.Scan0);
    bool ok;
    if (locked.Stride >= 0) {
        ok = ImportOverlay(top, static_cast<int>(width), static_cast<int>(height), locked.Stride, OverlayRowOrder::TopDown,
                           image);
    } else {
        const uint8_t* bottom = top + static_cast<ptrdiff_t>(height - 1) * locked.Stride;
        ok = ImportOverlay(bottom, static_cast<int>(width), static_cast<int>(height), -locked.Stride,
                           OverlayRowOrder::BottomUp, image);
    }
    Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap.get(), &locked);
    return ok;
}
