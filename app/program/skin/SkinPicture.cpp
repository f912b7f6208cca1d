#include "SkinPicture.h"

#include <PictureHeader.h>

#include <cstring>

namespace {

bool HasPngName(const char* path) {
    const size_t length = std::strlen(path);
    return length >= 4 && lstrcmpiA(path + length - 4, ".png") == 0;
}

bool Exceeds(std::uint32_t side, LONG bound) { return bound > 0 && side > static_cast<std::uint32_t>(bound); }

} // namespace

Gdiplus::Status LoadSkinPicture(CImage* picture, const char* path, SIZE bound) {
    PictureHeader header;
    if (!path || !ReadPictureHeader(path, &header))
        return path && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? Gdiplus::UnknownImageFormat
                                                                            : Gdiplus::Win32Error;
    if (!WithinDecodeLimits(header.width, header.height))
        return Gdiplus::OutOfMemory;
    if (Exceeds(header.width, bound.cx) || Exceeds(header.height, bound.cy))
        return Gdiplus::ValueOverflow;
    // The image library chooses its decoder by the name: a PNG under another name would reach the
    // platform's decoder, which knows none of our loader's caps.
    if ((header.kind == PictureKind::kPng) != HasPngName(path))
        return Gdiplus::UnknownImageFormat;
    return picture->LoadFile(path);
}

BOOL ReadSkinPictureSize(const char* path, SIZE* size) {
    PictureHeader header;
    if (!path || !ReadPictureHeader(path, &header) || !WithinDecodeLimits(header.width, header.height))
        return FALSE;
    size->cx = static_cast<LONG>(header.width);
    size->cy = static_cast<LONG>(header.height);
    return TRUE;
}
