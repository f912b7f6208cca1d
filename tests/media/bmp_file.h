#pragma once
// Reading back the 24-bit BMP files that the engine and the frame-grabbing program write, so that
// tests can compare their pixels with a generated clip's. Platform-neutral.
#include <cstdint>
#include <string>
#include <vector>

namespace qelmedia {

struct Bmp24 {
    int width = 0;
    int height = 0;       // rows in the picture (always positive here)
    bool bottomUp = true; // the file's height field was positive
    uint32_t fileSizeField = 0;
    std::vector<uint8_t> rows; // as stored: Rgb24Stride(width) a row, in file order
};

// Parses an uncompressed 24-bit BMP; on failure returns false and says why.
bool ParseBmp24(const std::vector<uint8_t>& file, Bmp24* image, std::string* why);

// Reads a whole file; empty when it is missing or unreadable.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Converts the image to the bottom-up row order of ClipFrame.
std::vector<uint8_t> BottomUpRows(const Bmp24& image);

} // namespace qelmedia
