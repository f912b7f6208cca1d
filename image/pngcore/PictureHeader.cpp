#include "PictureHeader.h"

#include <cstdio>
#include <cstring>

#include "PngDib.h"

namespace {

std::uint32_t Be16(const unsigned char* at) { return static_cast<std::uint32_t>(at[0] << 8 | at[1]); }
std::uint32_t Le16(const unsigned char* at) { return static_cast<std::uint32_t>(at[1] << 8 | at[0]); }
std::uint32_t Be32(const unsigned char* at) { return Be16(at) << 16 | Be16(at + 2); }
std::uint32_t Le32(const unsigned char* at) { return Le16(at + 2) << 16 | Le16(at); }

struct File {
    explicit File(const char* path) : handle(path ? std::fopen(path, "rb") : nullptr) {}
    ~File() {
        if (handle)
            std::fclose(handle);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool Read(unsigned char* into, std::size_t bytes) { return std::fread(into, 1, bytes, handle) == bytes; }
    FILE* handle;
};

bool PngSize(const unsigned char* head, PictureHeader* out) {
    // The first chunk must be IHDR, 13 bytes long.
    if (Be32(head + 8) != 13 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    out->width = Be32(head + 16);
    out->height = Be32(head + 20);
    return true;
}

bool BmpSize(const unsigned char* head, PictureHeader* out) {
    const std::uint32_t infoBytes = Le32(head + 14);
    if (infoBytes == 12) { // the OS/2 core header: 16-bit sides
        out->width = Le16(head + 18);
        out->height = Le16(head + 20);
        return true;
    }
    if (infoBytes < 40)
        return false;
    const auto width = static_cast<std::int32_t>(Le32(head + 18));
    const auto height = static_cast<std::int32_t>(Le32(head + 22));
    if (width <= 0 || height == INT32_MIN)
        return false;
    out->width = static_cast<std::uint32_t>(width);
    out->height = static_cast<std::uint32_t>(height < 0 ? -height : height); // negative: rows top first
    return true;
}

bool IsStartOfFrame(int marker) {
    // SOF0 to SOF15 but DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG's segments after its start marker to the first frame header.
bool JpegSize(File& file, PictureHeader* out) {
    for (;;) {
        int marker = std::fgetc(file.handle);
        if (marker != 0xFF)
            return false;
        while (marker == 0xFF) // fill bytes
            marker = std::fgetc(file.handle);
        if (marker == EOF || marker == 0xD9 || marker == 0xDA) // end of image or scan before any frame
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        unsigned char length[2];
        if (!file.Read(length, 2) || Be16(length) < 2)
            return false;
        if (IsStartOfFrame(marker)) {
            unsigned char frame[5];
            if (Be16(length) < 2 + sizeof frame || !file.Read(frame, sizeof frame))
                return false;
            out->height = Be16(frame + 1);
            out->width = Be16(frame + 3);
            return true;
        }
        if (std::fseek(file.handle, static_cast<long>(Be16(length)) - 2, SEEK_CUR) != 0)
            return false;
    }
}

} // namespace

bool ReadPictureHeader(const char* path, PictureHeader* out) {
    *out = PictureHeader();
    File file(path);
    if (!file.handle)
        return false;
    unsigned char head[26] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file.handle);
    PictureHeader found;
    bool sized = false;
    if (got >= 24 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) {
        found.kind = PictureKind::kPng;
        sized = PngSize(head, &found);
    } else if (got >= 26 && head[0] == 'B' && head[1] == 'M') {
        found.kind = PictureKind::kBmp;
        sized = BmpSize(head, &found);
    } else if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8) {
        found.kind = PictureKind::kJpeg;
        sized = std::fseek(file.handle, 2, SEEK_SET) == 0 && JpegSize(file, &found);
    } else if (got >= 10 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) {
        found.kind = PictureKind::kGif;
        found.width = Le16(head + 6);
        found.height = Le16(head + 8);
        sized = true;
    }
    if (!sized)
        return false;
    *out = found;
    return true;
}

bool WithinDecodeLimits(std::uint32_t width, std::uint32_t height) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    return width >= 1 && height >= 1 && width <= kPngDibMaxSide && height <= kPngDibMaxSide &&
           pixels <= kPngDibMaxPixels && pixels * 4 <= kPngDibMaxBlockBytes - kDibHeaderBytes;
}
