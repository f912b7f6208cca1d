#include "picture_reader.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

namespace enginetest {
namespace {

using namespace Gdiplus;

// The raw-format GUIDs of the decoders: {B96B3CAB..B1-0728-11D3-9D7B-0000F81EF32E}.
GUID RawFormat(unsigned long first) {
    return {first, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}

PictureFormat FormatOf(const GUID& raw) {
    if (IsEqualGUID(raw, RawFormat(0xb96b3cab)))
        return PictureFormat::Bmp;
    if (IsEqualGUID(raw, RawFormat(0xb96b3cae)))
        return PictureFormat::Jpeg;
    if (IsEqualGUID(raw, RawFormat(0xb96b3caf)))
        return PictureFormat::Png;
    if (IsEqualGUID(raw, RawFormat(0xb96b3cb0)))
        return PictureFormat::Gif;
    if (IsEqualGUID(raw, RawFormat(0xb96b3cb1)))
        return PictureFormat::Tiff;
    return PictureFormat::Unknown;
}

} // namespace

GdiplusScope::GdiplusScope() {
    GdiplusStartupInput input;
    if (GdiplusStartup(&token_, &input, nullptr) != Ok)
        token_ = 0;
}

GdiplusScope::~GdiplusScope() {
    if (token_)
        GdiplusShutdown(token_);
}

bool DecodePicture(const std::string& path, DecodedPicture* picture) {
    std::wstring wide(path.begin(), path.end());
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(wide.c_str(), &bitmap) != Ok || !bitmap)
        return false;
    bool ok = false;
    GUID raw = GUID_NULL;
    UINT width = 0, height = 0;
    if (DllExports::GdipGetImageRawFormat(bitmap, &raw) == Ok &&
        DllExports::GdipGetImageWidth(bitmap, &width) == Ok &&
        DllExports::GdipGetImageHeight(bitmap, &height) == Ok) {
        picture->format = FormatOf(raw);
        picture->width = static_cast<int>(width);
        picture->height = static_cast<int>(height);
        const GpRect whole(0, 0, picture->width, picture->height);
        BitmapData locked = {};
        if (DllExports::GdipBitmapLockBits(bitmap, &whole, ImageLockModeRead, PixelFormat24bppRGB, &locked) ==
            Ok) {
            picture->pixels.resize(static_cast<size_t>(width) * height * 3);
            for (UINT y = 0; y < height; ++y)
                std::memcpy(&picture->pixels[static_cast<size_t>(y) * width * 3],
                            static_cast<const uint8_t*>(locked.Scan0) +
                                static_cast<ptrdiff_t>(y) * locked.Stride,
                            width * 3);
            DllExports::GdipBitmapUnlockBits(bitmap, &locked);
            ok = true;
        }
    }
    DllExports::GdipDisposeImage(bitmap);
    return ok;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

} // namespace enginetest
