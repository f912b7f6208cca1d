#pragma once
// The synthetic camera's picture: a moving pattern that any test can predict pixel by pixel, with the
// frame number written into a band of cells along the top of the picture so that a frame can be told
// from its neighbours even after scaling or colour conversion.
//
// Frames are RGB24 (blue, green, red), rows `stride` bytes apart; a positive height is a bottom-up
// frame (the first row in memory is the bottom of the picture), a negative height a top-down one.
// Coordinates (x, y) below are in the picture as shown: y = 0 is the top row.
#include <cstddef>
#include <cstdint>

namespace qelcam {

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
    bool operator!=(const Bgr& o) const { return !(*this == o); }
};

// The frame number band: kCodeCells cells across the top: 32 bits of the number (most significant
// first) and an 8-bit check, white for 1 and black for 0.
constexpr int kCodeCells = 40;
constexpr int kCodeBits = 32;

// Cell size for a picture; the band needs a picture at least kCodeCells pixels wide and 1 row high.
int CodeCellWidth(int width);
int CodeCellHeight(int height);

// The colour at (x, y) of frame `frame` in a width x |height| picture (band included).
Bgr ExpectedPixel(int x, int y, int width, int height, uint32_t frame);

// Draws frame `frame`. Returns false (and writes nothing) for a size it cannot draw: width below
// kCodeCells, height 0, or a stride shorter than a row.
bool DrawTestFrame(uint8_t* frame, int width, int height, ptrdiff_t stride, uint32_t frameNumber);

// Reads the frame number back (sampling each cell's centre, so mild filtering or scaling is fine).
// False when the band's check does not match (not a test frame, or damaged) or the size is invalid.
bool ReadFrameNumber(const uint8_t* frame, int width, int height, ptrdiff_t stride, uint32_t* frameNumber);

// Bytes per row of an RGB24 DIB: width x 3 rounded up to a multiple of 4.
ptrdiff_t Rgb24Stride(int width);

}  // namespace qelcam
