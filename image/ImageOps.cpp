// CImage copies, thumbnails, resizing, fills, pixel blocks, palettes and masking.
#include "ImageObject.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "GdiplusAccess.h"
#include "ImageSupport.h"

using namespace Gdiplus;

namespace {

Rect WholeRect(CImage& image) { return Rect(0, 0, static_cast<INT>(image.Width()), static_cast<INT>(image.Height())); }

// A palette copy of the image's own, null when it has none or memory is short.
ColorPalette* CopyPalette(CImage& image) {
    const INT bytes = image.GetPaletteSize();
    if (bytes <= 0)
        return nullptr;
    auto* palette = static_cast<ColorPalette*>(std::malloc(static_cast<size_t>(bytes)));
    if (palette && image.GetPalette(palette, bytes) != Ok) {
        std::free(palette);
        palette = nullptr;
    }
    return palette;
}

} // namespace

CImage* CImage::NewLike(int width, int height, int format) {
    CImage* image = new CImage(width, height, format, 0);
    if (!NativeImageOf(*image)) {
        delete image;
        return nullptr;
    }
    image->SetResolution(this);
    return image;
}

// ---- new images -----------------------------------------------------------------------------------

CImage* CImage::Copy() {
    if (!NativeImageOf(*this))
        return nullptr;
    CImage* copy = NewLike(static_cast<int>(Width()), static_cast<int>(Height()), Format());
    if (!copy)
        return nullptr;
    if (ColorPalette* palette = CopyPalette(*this)) {
        if (palette->Count > 0)
            copy->Bitmap::SetPalette(palette);
        std::free(palette);
    }
    const Rect all = WholeRect(*this);
    bool copied = false;
    {
        BitsLock source(*this, all, ImageLockModeRead, Format());
        BitsLock target(*copy, all, ImageLockModeWrite, copy->Format());
        if (source.Locked() && target.Locked()) {
            const INT shorter = std::min(std::abs(source.Stride()), std::abs(target.Stride()));
            for (UINT y = 0; y < Height(); ++y)
                std::memcpy(target.Row(y), source.Row(y), static_cast<size_t>(shorter));
            copied = true;
        }
    }
    if (!copied) {
        delete copy;
        return nullptr;
    }
    return copy;
}

CImage* CImage::Copy(int x, int y, int w, int h) {
    const int width = static_cast<int>(Width());
    const int height = static_cast<int>(Height());
    if (x == 0 && y == 0 && w >= width && h >= height)
        return Copy();
    if (x + w > width)
        w = width - x;
    if (y + h > height)
        h = height - y;
    GpBitmap* clone = nullptr;
    if (!NativeImageOf(*this) || w <= 0 || h <= 0 ||
        DllExports::GdipCloneBitmapAreaI(x, y, w, h, Format(), static_cast<GpBitmap*>(NativeImageOf(*this)), &clone) != Ok)
        return nullptr;
    CImage* copy = new CImage();
    copy->Adopt(clone);
    copy->SetStatus(Ok);
    copy->SetResolution(this);
    return copy;
}

CImage* CImage::Copy(Rect& rect) { return Copy(rect.X, rect.Y, rect.Width, rect.Height); }

CImage* CImage::ScaledInto(int w, int h, int format, DWORD background, InterpolationMode mode) {
    if (!NativeImageOf(*this))
        return nullptr;
    CImage* scaled = NewLike(w, h, format);
    if (!scaled)
        return nullptr;
    if (background != 0) {
        Color fill(background);
        scaled->FillColor(fill);
    }
    Graphics graphics(scaled);
    graphics.SetInterpolationMode(mode);
    if (graphics.DrawImage(this, 0, 0, w, h) != Ok) {
        delete scaled;
        return nullptr;
    }
    return scaled;
}

CImage* CImage::GetThumbnail(int w, int h, InterpolationMode mode, int format) {
    return ScaledInto(w, h, format, 0xFFFFFFFF, mode);
}

CImage* CImage::GetPropThumbnail(int w, int h, int enlarge, InterpolationMode mode) {
    CRect fitted(0, 0, w, h);
    ShrinkPropRect(CRect(0, 0, static_cast<int>(Width()), static_cast<int>(Height())), fitted, 1, enlarge);
    const int fw = fitted.Width() > 0 ? fitted.Width() : 1;
    const int fh = fitted.Height() > 0 ? fitted.Height() : 1;
    return GetThumbnail(fw, fh, mode, PixelFormat24bppRGB);
}

CImage* CImage::GetResizeImage(int w, int h, DWORD background, InterpolationMode mode) {
    return ScaledInto(w, h, Format(), background, mode);
}

// ---- in place ---------------------------------------------------------------------------------------

int CImage::FillColor(Color& color) {
    if (!NativeImageOf(*this))
        return 0;
    BitsLock lock(*this, WholeRect(*this), ImageLockModeWrite, PixelFormat32bppARGB);
    if (!lock.Locked())
        return 0;
    const ARGB value = color.GetValue();
    for (UINT y = 0; y < Height(); ++y) {
        ARGB* row = reinterpret_cast<ARGB*>(lock.Row(y));
        for (UINT x = 0; x < Width(); ++x)
            row[x] = value;
    }
    return 1;
}

int CImage::TransferBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format, bool write) {
    int bytesPerPixel;
    if (format == PixelFormat24bppRGB)
        bytesPerPixel = 3;
    else if (format == PixelFormat32bppARGB)
        bytesPerPixel = 4;
    else
        return 0;
    if (!data || !NativeImageOf(*this) || x0 > x1 || y0 > y1 || x1 >= Width() || y1 >= Height())
        return 0;
    const Rect block(static_cast<INT>(x0), static_cast<INT>(y0), static_cast<INT>(x1 - x0 + 1),
                     static_cast<INT>(y1 - y0 + 1));
    BitsLock lock(*this, block, write ? ImageLockModeWrite : ImageLockModeRead, format);
    if (!lock.Locked())
        return 0;
    const size_t rowBytes = static_cast<size_t>(block.Width) * bytesPerPixel;
    for (INT y = 0; y < block.Height; ++y) {
        BYTE* packed = data + rowBytes * static_cast<size_t>(y);
        if (write)
            std::memcpy(lock.Row(static_cast<UINT>(y)), packed, rowBytes);
        else
            std::memcpy(packed, lock.Row(static_cast<UINT>(y)), rowBytes);
    }
    return 1;
}

int CImage::GetBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format) {
    return TransferBlock(x0, y0, x1, y1, data, format, false);
}
int CImage::PutBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format) {
    return TransferBlock(x0, y0, x1, y1, data, format, true);
}
int CImage::GetHorLine(UINT y, UINT x0, UINT x1, BYTE* data, int format) { return GetBlock(x0, y, x1, y, data, format); }
int CImage::PutHorLine(UINT y, UINT x0, UINT x1, BYTE* data, int format) { return PutBlock(x0, y, x1, y, data, format); }
int CImage::GetVerLine(UINT x, UINT y0, UINT y1, BYTE* data, int format) { return GetBlock(x, y0, x, y1, data, format); }
int CImage::PutVerLine(UINT x, UINT y0, UINT y1, BYTE* data, int format) { return PutBlock(x, y0, x, y1, data, format); }

int CImage::CloneRect(int x, int y, int w, int h) {
    GpBitmap* clone = nullptr;
    if (!NativeImageOf(*this) ||
        DllExports::GdipCloneBitmapAreaI(x, y, w, h, Format(), static_cast<GpBitmap*>(NativeImageOf(*this)), &clone) != Ok)
        return 0;
    Adopt(clone);
    return 1;
}

int CImage::CloneRect(Rect& rect) { return CloneRect(rect.X, rect.Y, rect.Width, rect.Height); }

// ---- palettes ---------------------------------------------------------------------------------------

Status CImage::SetPalette(const ColorPalette* palette) { return Bitmap::SetPalette(palette); }

namespace {

// Sets entries colours from table with alpha 255; 1, or 0 when memory is short or GDI+ refuses.
int ApplyColourTable(CImage& image, const RGBQUAD* table, UINT entries) {
    if (!table)
        return 0;
    const size_t bytes = sizeof(ColorPalette) + sizeof(ARGB) * entries;
    auto* palette = static_cast<ColorPalette*>(std::calloc(1, bytes));
    if (!palette)
        return 0;
    palette->Count = entries;
    for (UINT i = 0; i < entries; ++i)
        palette->Entries[i] = Color::MakeARGB(255, table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    const Status status = image.SetPalette(static_cast<const ColorPalette*>(palette));
    std::free(palette);
    return status == Ok ? 1 : 0;
}

} // namespace

int CImage::SetPalette(RGBQUAD* table) {
    switch (Format()) {
    case PixelFormat1bppIndexed: return ApplyColourTable(*this, table, 2);
    case PixelFormat4bppIndexed: return ApplyColourTable(*this, table, 16);
    case PixelFormat8bppIndexed: return ApplyColourTable(*this, table, 256);
    default: return 0;
    }
}

BYTE CImage::ColorTable2Palette(RGBQUAD* table) {
    const int bits = BitCount();
    if (bits < 1 || bits > 8)
        return 0;
    return static_cast<BYTE>(ApplyColourTable(*this, table, 1u << bits));
}

// ---- masking ----------------------------------------------------------------------------------------

int CImage::SetMaskregion(HRGN region, BYTE) {
    const int format = Format();
    int bytesPerPixel;
    if (format == PixelFormat24bppRGB)
        bytesPerPixel = 3;
    else if (format == PixelFormat8bppIndexed)
        bytesPerPixel = 1;
    else if (format == PixelFormat32bppARGB)
        bytesPerPixel = 4;
    else
        return UnknownImageFormat;

    // The region's rectangles, to mark each row's inside spans without a lookup per pixel.
    std::vector<RECT> rects;
    if (region) {
        const DWORD bytes = GetRegionData(region, 0, nullptr);
        std::vector<BYTE> buffer(bytes);
        if (bytes && GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(buffer.data())) == bytes) {
            const auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
            const auto* first = reinterpret_cast<const RECT*>(data->Buffer);
            rects.assign(first, first + data->rdh.nCount);
        }
    }
    const UINT width = Width();
    BitsLock lock(*this, WholeRect(*this), ImageLockModeRead | ImageLockModeWrite, format);
    if (!lock.Locked())
        return GenericError;
    std::vector<bool> inside(width);
    for (UINT y = 0; y < Height(); ++y) {
        std::fill(inside.begin(), inside.end(), false);
        for (const RECT& r : rects) {
            if (static_cast<LONG>(y) < r.top || static_cast<LONG>(y) >= r.bottom)
                continue;
            for (LONG x = std::max<LONG>(r.left, 0); x < r.right && x < static_cast<LONG>(width); ++x)
                inside[static_cast<size_t>(x)] = true;
        }
        BYTE* row = lock.Row(y);
        for (UINT x = 0; x < width; ++x) {
            if (!inside[x])
                std::memset(row + static_cast<size_t>(x) * bytesPerPixel, 0, static_cast<size_t>(bytesPerPixel));
        }
    }
    return Ok;
}
