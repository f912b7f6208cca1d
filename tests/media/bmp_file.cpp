#include "bmp_file.h"

#include <fstream>
#include <iterator>

#include "avi_clip.h"

namespace qelmedia {
namespace {

uint32_t U16At(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    return U16At(bytes, at) | U16At(bytes, at + 2) << 16;
}

bool Fail(std::string* why, const char* text) {
    if (why)
        *why = text;
    return false;
}

} // namespace

bool ParseBmp24(const std::vector<uint8_t>& file, Bmp24* image, std::string* why) {
    if (file.size() < 54)
        return Fail(why, "shorter than the two BMP headers");
    if (file[0] != 'B' || file[1] != 'M')
        return Fail(why, "no BM signature");
    const uint32_t dataOffset = U32At(file, 10);
    if (U32At(file, 14) < 40)
        return Fail(why, "information header shorter than 40 bytes");
    const int32_t width = static_cast<int32_t>(U32At(file, 18));
    const int32_t height = static_cast<int32_t>(U32At(file, 22));
    if (U16At(file, 28) != 24)
        return Fail(why, "not 24 bits a pixel");
    if (U32At(file, 30) != 0)
        return Fail(why, "compressed");
    if (width <= 0 || height == 0 || width > 65536 || height > 65536 || height < -65536)
        return Fail(why, "implausible size");
    const int rows = height < 0 ? -height : height;
    const size_t bytes = Rgb24Stride(width) * static_cast<size_t>(rows);
    if (dataOffset > file.size() || file.size() - dataOffset < bytes)
        return Fail(why, "pixel data shorter than the header's size");
    image->width = width;
    image->height = rows;
    image->bottomUp = height > 0;
    image->fileSizeField = U32At(file, 2);
    image->rows.assign(file.begin() + dataOffset,
                       file.begin() + dataOffset + static_cast<std::ptrdiff_t>(bytes));
    return true;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> BottomUpRows(const Bmp24& image) {
    if (image.bottomUp)
        return image.rows;
    const size_t stride = Rgb24Stride(image.width);
    std::vector<uint8_t> flipped(image.rows.size());
    for (int row = 0; row < image.height; ++row)
        std::copy(image.rows.begin() + static_cast<std::ptrdiff_t>(row * stride),
                  image.rows.begin() + static_cast<std::ptrdiff_t>((row + 1) * stride),
                  flipped.begin() + static_cast<std::ptrdiff_t>((image.height - 1 - row) * stride));
    return flipped;
}

} // namespace qelmedia
