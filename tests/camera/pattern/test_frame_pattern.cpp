#include "test_frame_pattern.h"

#include <cstdlib>

namespace qelcam {
namespace {

uint8_t CheckByte(uint32_t number) {
    // Not a plain XOR of the bytes: an all-black or all-white band must not pass.
    const uint8_t x = static_cast<uint8_t>(number ^ (number >> 8) ^ (number >> 16) ^ (number >> 24));
    return static_cast<uint8_t>(x ^ 0xA5);
}

bool CodeBit(uint32_t number, int cell) {
    if (cell < kCodeBits)
        return (number >> (kCodeBits - 1 - cell)) & 1u;
    return (CheckByte(number) >> (kCodeCells - 1 - cell)) & 1u;
}

// Gradients that move with the frame, and a bright vertical bar that sweeps across the picture.
Bgr MovingPattern(int x, int y, int width, uint32_t frame) {
    const int barX = static_cast<int>((frame * 8u) % static_cast<uint32_t>(width));
    if (x >= barX && x < barX + 4)
        return {255, 255, 255};
    return {static_cast<uint8_t>(x + frame), static_cast<uint8_t>(y), static_cast<uint8_t>((x + y) / 2 + frame * 3u)};
}

uint8_t* RowOf(uint8_t* frame, int y, int rows, bool bottomUp, ptrdiff_t stride) {
    return frame + (bottomUp ? rows - 1 - y : y) * stride;
}

bool ValidSize(int width, int height, ptrdiff_t stride) {
    return width >= kCodeCells && height != 0 && stride >= static_cast<ptrdiff_t>(width) * 3;
}

}  // namespace

int CodeCellWidth(int width) { return width / kCodeCells; }

int CodeCellHeight(int height) {
    const int rows = std::abs(height);
    const int cell = rows / 30;
    return cell > 0 ? cell : 1;
}

Bgr ExpectedPixel(int x, int y, int width, int height, uint32_t frame) {
    const int cellWidth = CodeCellWidth(width);
    if (y < CodeCellHeight(height) && x < cellWidth * kCodeCells) {
        const uint8_t level = CodeBit(frame, x / cellWidth) ? 255 : 0;
        return {level, level, level};
    }
    return MovingPattern(x, y, width, frame);
}

bool DrawTestFrame(uint8_t* frame, int width, int height, ptrdiff_t stride, uint32_t frameNumber) {
    if (!frame || !ValidSize(width, height, stride))
        return false;
    const int rows = std::abs(height);
    const int bandRows = CodeCellHeight(height);
    const int barX = static_cast<int>((frameNumber * 8u) % static_cast<uint32_t>(width));
    // Row by row with the moving pattern's terms kept incrementally: a camera draws 30 of these a
    // second at 1280 x 1024.
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = RowOf(frame, y, rows, height > 0, stride);
        if (y < bandRows) {
            for (int x = 0; x < width; ++x) {
                const Bgr pixel = ExpectedPixel(x, y, width, height, frameNumber);
                row[3 * x] = pixel.b;
                row[3 * x + 1] = pixel.g;
                row[3 * x + 2] = pixel.r;
            }
            continue;
        }
        const uint8_t green = static_cast<uint8_t>(y);
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = row + 3 * x;
            if (x >= barX && x < barX + 4) {
                pixel[0] = pixel[1] = pixel[2] = 255;
                continue;
            }
            pixel[0] = static_cast<uint8_t>(x + frameNumber);
            pixel[1] = green;
            pixel[2] = static_cast<uint8_t>((x + y) / 2 + frameNumber * 3u);
        }
    }
    return true;
}

bool ReadFrameNumber(const uint8_t* frame, int width, int height, ptrdiff_t stride, uint32_t* frameNumber) {
    if (!frame || !frameNumber || !ValidSize(width, height, stride))
        return false;
    const int rows = std::abs(height);
    const int cellWidth = CodeCellWidth(width);
    const uint8_t* row = RowOf(const_cast<uint8_t*>(frame), CodeCellHeight(height) / 2, rows, height > 0, stride);
    uint32_t number = 0;
    uint32_t check = 0;
    for (int cell = 0; cell < kCodeCells; ++cell) {
        const uint8_t* pixel = row + 3 * (cell * cellWidth + cellWidth / 2);
        const bool bit = pixel[0] + pixel[1] + pixel[2] > 3 * 128;
        if (cell < kCodeBits)
            number = (number << 1) | (bit ? 1u : 0u);
        else
            check = (check << 1) | (bit ? 1u : 0u);
    }
    if (check != CheckByte(number))
        return false;
    *frameNumber = number;
    return true;
}

ptrdiff_t Rgb24Stride(int width) { return (static_cast<ptrdiff_t>(width) * 3 + 3) & ~static_cast<ptrdiff_t>(3); }

}  // namespace qelcam
