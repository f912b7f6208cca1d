#pragma once
// What a picture file claims before anything decodes it: its kind from its first bytes and its size
// from its header, so a picture too large to make is refused without allocating its pixels.
// Platform-neutral (the C runtime only).
#include <cstdint>

enum class PictureKind { kUnknown, kPng, kBmp, kJpeg, kGif };

struct PictureHeader {
    PictureKind kind = PictureKind::kUnknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The kind and size the file at path claims; false (kind unknown) when it cannot be opened, is of
// none of the kinds above, or its header is cut short or gives no size.
bool ReadPictureHeader(const char* path, PictureHeader* out);

// Whether a picture of that size is within what the image library decodes: both sides from 1 to the
// PNG loader's largest side, the pixels within its count, 32 bits a pixel within its largest block.
bool WithinDecodeLimits(std::uint32_t width, std::uint32_t height);
