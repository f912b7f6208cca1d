#pragma once
// Helpers of the image library's tests: pixels read back, coordinate-coded and solid images, file
// signatures, a device context over a 32-bit DIB.
#include <qelImage.h>

#include <memory>
#include <string>
#include <vector>

using ImagePtr = std::unique_ptr<CImage>;

// The ARGB value of one pixel (0 when it cannot be read).
Gdiplus::ARGB PixelOf(CImage& image, int x, int y);

// A 32-bit ARGB image filled with one colour.
ImagePtr SolidImage(int width, int height, Gdiplus::ARGB colour);

// A 32-bit image whose pixel (x, y) is opaque with red x and green y: where a pixel came from shows.
ImagePtr CoordinateImage(int width, int height);
Gdiplus::ARGB CoordinateColour(int x, int y);

// The first n bytes of a file.
std::string FileStart(const std::string& path, size_t n);

// The committed private memory of this process in bytes (VirtualQuery walk).
size_t CommittedPrivateBytes();

// A memory device context over a top-down 32-bit DIB section, filled with a colour.
class DibTarget {
public:
    DibTarget(int width, int height, COLORREF fill);
    ~DibTarget();
    DibTarget(const DibTarget&) = delete;
    DibTarget& operator=(const DibTarget&) = delete;
    HDC Dc() const { return dc_; }
    // The pixel as 0x00RRGGBB.
    DWORD RgbAt(int x, int y) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
    int width_ = 0;
};
