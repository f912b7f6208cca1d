#include "SnapshotWriter.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstring>
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

// The Win32 reason of a failed GDI+ call; the thread's own when GDI+ passes one on.
DWORD Win32ErrorOf(Status status) {
    switch (status) {
    case Win32Error: {
        const DWORD error = GetLastError();
        return error ? error : ERROR_WRITE_FAULT;
    }
    case AccessDenied:
        return ERROR_ACCESS_DENIED;
    case FileNotFound:
        return ERROR_PATH_NOT_FOUND;
    case OutOfMemory:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_WRITE_FAULT;
    }
}

// Loads the temporary BMP and saves it in the target's format; on failure the reason is the thread's
// last error.
bool Encode(const char* temporaryName, const char* targetName, SnapshotFormat format, int quality) {
    std::vector<WCHAR> temporaryWide, targetWide;
    if (!ToWide(temporaryName, &temporaryWide) || !ToWide(targetName, &targetWide)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    GpImage* image = nullptr;
    const Status loaded = DllExports::GdipLoadImageFromFile(temporaryWide.data(), &image);
    if (loaded != Ok || !image) {
        SetLastError(Win32ErrorOf(loaded != Ok ? loaded : GenericError));
        return false;
    }

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
    SetLastError(ERROR_SUCCESS);
    const Status status = (format != SnapshotFormat::Gif || indexed)
                              ? DllExports::GdipSaveImageToFile(toSave, targetWide.data(), &encoder, &parameters)
                              : GenericError;
    const DWORD error = status == Ok ? ERROR_SUCCESS : Win32ErrorOf(status);
    if (indexed)
        DllExports::GdipDisposeImage(indexed);
    DllExports::GdipDisposeImage(image);
    SetLastError(error);
    return status == Ok;
}

bool IsThere(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

} // namespace

BOOL SaveSnapshotFile(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length,
                      int quality) {
    SnapshotPlan plan;
    if (!PlanSnapshotSave(fileName, &plan)) {
        SetLastError(fileName && std::strlen(fileName) + 5 >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE
                                                                       : ERROR_INVALID_NAME);
        return FALSE;
    }
    if (plan.format == SnapshotFormat::Bmp)
        return WriteSnapshotBmp(header, fileName, bits, length);
    if (!WriteSnapshotBmp(header, plan.temporaryName.c_str(), bits, length))
        return FALSE;
    const bool targetWasThere = IsThere(fileName);
    if (!Encode(plan.temporaryName.c_str(), fileName, plan.format, quality)) {
        // An encoder that stopped part way (a disk that filled) leaves a picture that cannot be read.
        const DWORD error = GetLastError();
        if (!targetWasThere)
            DeleteFileA(fileName);
        SetLastError(error);
        return FALSE; // the temporary BMP stays beside the target
    }
    std::remove(plan.temporaryName.c_str());
    return TRUE;
}
