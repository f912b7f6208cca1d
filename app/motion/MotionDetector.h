#pragma once
// The motion detector: frames of the live picture are compared with a reference frame, cell by cell
// of an n x n grid, and a watched cell in which enough bytes changed reports motion. One detector per
// process (plain functions over one state), used on the user-interface thread only.
// Frames are packed rows of three bytes a pixel; rowLength is the distance between rows in bytes.
// Platform-neutral: no Windows header.
#include <cstdint>

// Results.
constexpr int kMdOk = 0;
constexpr int kMdBadArguments = -10;
constexpr int kMdOtherSize = -12;

struct MD_Rect {
    int left;
    int top;
    int right;
    int bottom;
};

// Copies "1, 0, 0, 0" (with its terminator, 11 bytes) into text; 0.
int MD_GetVersion(char* text);

// Sets the frame size and the grid: cellMask holds n x n values row by row, nonzero for a watched
// cell; sensitivity 0..100 (values outside are taken as the nearer end). A buffer of the same size is
// kept with its reference frame; the frame counter is left alone. -10 for a size below 1, a row
// shorter than three bytes a pixel, or a missing mask.
int MD_Init(int n, const std::uint32_t* cellMask, int width, int height, int rowLength, int sensitivity);

// Compares a frame with the reference (the first frame after a reset or after every 899 comparisons
// becomes the reference instead). moved = 1 when a watched cell moved. -12 for a frame of another
// size than MD_Init's (moved 0).
int MD_Detect(const std::uint8_t* frame, int width, int height, int rowLength, int* moved);

// Frees the buffers and clears the state; sensitivity back to 100. 0.
int MD_Reset();

// Whether the rectangle (ordered and clamped to the frame) of frame differs from reference: each
// byte's difference passes a five-tap noise filter against the threshold of the sensitivity, and
// more than 100 marked bytes of one colour channel are motion. 0 for bad arguments.
int MD_CompareRegion(const std::uint8_t* frame, const std::uint8_t* reference, int width, int height, int rowLength,
                     int bytesPerPixel, MD_Rect rect, int sensitivity);

// Row length of the engine's 24-bit frames (three bytes a pixel, rows padded to four bytes): the
// frames a motion watch grabs.
int MD_FrameRowLength(int width);
