#pragma once
// Reading snapshot pictures back through GDI+ for the tests: format, size and pixels.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace enginetest {

// GDI+ for the life of the object (the engine starts its own as well).
class GdiplusScope {
public:
    GdiplusScope();
    ~GdiplusScope();
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool Started() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Tiff, Gif };

struct DecodedPicture {
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // top row first, (blue, green, red), width * 3 bytes a row

    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }
};

// False when GDI+ cannot decode the file.
bool DecodePicture(const std::string& path, DecodedPicture* picture);

// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder);

// The size of a file, or -1 when it is missing.
long long FileSize(const std::string& path);

} // namespace enginetest
