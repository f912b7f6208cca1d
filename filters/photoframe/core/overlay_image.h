// The photo frame's picture: 32-bit pixels in memory order blue, green, red, alpha, rows bottom-up
// (row 0 is the bottom of the picture, like the video) and packed (4 x width bytes a row).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct OverlayImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    int stride() const { return width * 4; }
    bool empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
};

enum class OverlayRowOrder {
    TopDown,   // the first row in memory is the top of the picture (what image decoders give)
    BottomUp,  // the first row in memory is the bottom of the picture
};

// Largest overlay side accepted; keeps every byte offset well inside 32 bits.
inline constexpr int kMaxOverlaySide = 16384;

// Copies a decoded BGRA picture into the overlay's layout. False (and out left empty) when the
// size or stride cannot describe such a buffer or the memory cannot be had.
bool ImportOverlay(const uint8_t* pixels, int width, int height, int stride, OverlayRowOrder order,
                   OverlayImage& out);

// Resizes a BGRA picture by bilinear interpolation in 10-bit fixed point. Both buffers are bottom-up
// or both top-down; rows and columns of the destination map onto the source by the size ratios.
void RescaleBgra(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst, int dstWidth,
                 int dstHeight, int dstStride);

// The overlay rescaled to width x height; false (out empty) for an empty source or a bad size.
bool RescaleOverlay(const OverlayImage& source, int width, int height, OverlayImage& out);
