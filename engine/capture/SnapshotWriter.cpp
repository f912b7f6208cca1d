#include "SnapshotWriter.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <vector>

#include "BmpWriter.h"
#include "ImageEncoders.h"
#include "snapcore/GifQuantize.h"
#include "snapcore/SnapshotName.h"

namespace {

using namespace Gdiplus;

// {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}
const GUID kEncoderQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

bool ToWide(const char* ansi, std::vector<WCHAR>* wide) {
    const int chars = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (chars <= 0)
        return false;
    wide->assign(chars, 0);
    return MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide->data(), chars) == chars;
}

// An 8-bit copy of a loaded picture over the halftone palette, for encoders that take indexed
// pictures only. The copy draws on *indexes, which must outlive it.
GpBitmap* HalftoneCopy(GpImage* image, std::vector<BYTE>* indexes) {
    UINT width = 0, height = 0;
    if (DllExports::GdipGetImageWidth(image, &width) != Ok ||
        DllExports::GdipGetImageHeight(image, &height) != Ok || width == 0 || height == 0 || width > 0x7FFF ||
        height > 0x7FFF)
        return nullptr;
    const INT stride = static_cast<INT>((width + 3) & ~3u);
    indexes->assign(static_cast<size_t>(stride) * height, 0);

    const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData locked = {};
    if (DllExports::GdipBitmapLockBits(static_cast<GpBitmap*>(image), &whole, ImageLockModeRead,
                                       PixelFormat24bppRGB, &locked) != Ok)
        return nullptr;
    // Locked rows run from the top of the picture.
    const bool reduced =
        locked.Stride > 0 &&
        ReduceToHalftone(static_cast<const uint8_t*>(locked.Scan0), locked.Stride, indexes->data(), stride,
                         static_cast<int>(width), -static_cast<int>(height));
    DllExports::GdipBitmapUnlockBits(static_cast<GpBitmap*>(image), &locked);
    if (!reduced)
        return nullptr;

    GpBitmap* indexed = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), stride,
                                              PixelFormat8bppIndexed, indexes->data(), &indexed) != Ok)
        return nullptr;
    std::vector<BYTE> paletteBlock(sizeof(ColorPalette) + (kHalftonePaletteSize - 1) * sizeof(ARGB));
    auto* palette = reinterpret_cast<ColorPalette*>(paletteBlock.data());
    palette->Flags = 0;
    palette->Count = kHalftonePaletteSize;
    for (int i = 0; i < kHalftonePaletteSize; ++i)
        palette->Entries[i] = HalftonePaletteEntry(i);
    if (DllExports::GdipSetImagePalette(indexed, palette) != Ok) {
        DllExports::GdipDisposeImage(indexed);
        return nullptr;
    }
    return indexed;
}

// Loads the temporary BMP and saves it in the target's format.
bool Encode(const char* temporaryName, const char* targetName, SnapshotFormat format, int quality) {
    std::vector<WCHAR> temporaryWide, targetWide;
    if (!ToWide(temporaryName, &temporaryWide) || !ToWide(targetName, &targetWide))
        return false;
    GpImage* image = nullptr;
    if (DllExports::GdipLoadImageFromFile(temporaryWide.data(), &image) != Ok || !image)
        return false;

    // An unknown encoder leaves the CLSID null and the save fails.
    CLSID encoder = CLSID_NULL;
    GetEncoderClsid(SnapshotMimeType(format), &encoder);

    // Some GIF encoders write an invalid file from a 24-bit picture: hand them an indexed one.
    std::vector<BYTE> indexes;
    GpImage* toSave = image;
    GpBitmap* indexed = nullptr;
    if (format == SnapshotFormat::Gif) {
        indexed = HalftoneCopy(image, &indexes);
        if (indexed)
            toSave = indexed;
    }

    ULONG qualityValue = static_cast<ULONG>(quality);
    EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &qualityValue;
    const bool saved =
        (format != SnapshotFormat::Gif || indexed) &&
        DllExports::GdipSaveImageToFile(toSave, targetWide.data(), &encoder, &parameters) == Ok;
    if (indexed)
        DllExports::GdipDisposeImage(indexed);
    DllExports::GdipDisposeImage(image);
    return saved;
}

} // namespace

BOOL SaveSnapshotFile(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length,
                      int quality) {
    SnapshotPlan plan;
    if (!PlanSnapshotSave(fileName, &plan))
        return FALSE;
    if (plan.format == SnapshotFormat::Bmp)
        return WriteSnapshotBmp(header, fileName, bits, length);
    if (!WriteSnapshotBmp(header, plan.temporaryName.c_str(), bits, length))
        return FALSE;
    if (!Encode(plan.temporaryName.c_str(), fileName, plan.format, quality))
        return FALSE; // the temporary BMP stays beside the target
    std::remove(plan.temporaryName.c_str());
    return TRUE;
}
