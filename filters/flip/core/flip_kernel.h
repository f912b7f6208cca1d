#pragma once
// Flips an RGB24 frame top to bottom, mirrors it left to right, or both. Platform-neutral.
#include <cstdint>

#include "qelimaging/pixel_layout.h"

struct FlipParams {
    bool topBottom = false;
    bool leftRight = false;
};

// source and destination hold the layout's rows and must not overlap. Both flips look the same on
// screen whatever the row order, so the sign of the height only gives the row count. Each output
// row keeps the padding of the source row it came from. False, writing nothing, for null buffers,
// an empty frame, a layout that is not three bytes a pixel or a stride too small for the width.
bool FlipFrame(const std::uint8_t* source, std::uint8_t* destination, const qel::imaging::PixelLayout& layout,
               const FlipParams& params);
