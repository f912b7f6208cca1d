// Helpers of the image library's tests.
#include "image_test_support.h"

#include <fstream>

ImagePtr SolidImage(int width, int height, Gdiplus::ARGB colour) {
    return ImagePtr(new CImage(width, height, PixelFormat32bppARGB, colour));
}

Gdiplus::ARGB PixelOf(CImage& image, int x, int y) {
    Gdiplus::Color colour;
    if (image.GetPixel(x, y, &colour) != Gdiplus::Ok)
        return 0;
    return colour.GetValue();
}

Gdiplus::ARGB CoordinateColour(int x, int y) {
    return 0xFF000000u | (static_cast<Gdiplus::ARGB>(x & 0xFF) << 16) | (static_cast<Gdiplus::ARGB>(y & 0xFF) << 8) | 0x40;
}

ImagePtr CoordinateImage(int width, int height) {
    ImagePtr image = SolidImage(width, height, 0);
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Gdiplus::ARGB c = CoordinateColour(x, y);
            BYTE* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<BYTE>(c);
            p[1] = static_cast<BYTE>(c >> 8);
            p[2] = static_cast<BYTE>(c >> 16);
            p[3] = static_cast<BYTE>(c >> 24);
        }
    image->PutBlock(0, 0, width - 1, height - 1, pixels.data(), PixelFormat32bppARGB);
    return image;
}

std::string FileStart(const std::string& path, size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(n));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    const BYTE* address = nullptr;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

DibTarget::DibTarget(int width, int height, COLORREF fill) : width_(width) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    const DWORD pixel = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    for (int i = 0; bits_ && i < width * height; ++i)
        bits_[i] = pixel;
}

DibTarget::~DibTarget() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

DWORD DibTarget::RgbAt(int x, int y) const {
    GdiFlush();
    return bits_[static_cast<size_t>(y) * width_ + x] & 0x00FFFFFF;
}
