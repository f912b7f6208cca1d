// Paints the stamp's colour into an RGB24 frame wherever the text mask is set.
#pragma once

#include <cstdint>

#include "core/stamp_layout.h"
#include "core/stamp_mask.h"
#include "qelimaging/pixel_layout.h"

struct StampColour {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
};

// The mask's box has its top-left at place (picture pixels from the top-left corner); every frame
// pixel under a non-zero mask byte becomes colour (bytes blue, green, red). Clipped to the frame on
// all sides. A negative height marks a top-down frame; the text stays upright either way. False,
// painting nothing, for a null buffer or mask, a layout that is not three bytes a pixel, or a stride
// too short for the width.
bool PaintStampMask(uint8_t* frame, const qel::imaging::PixelLayout& layout, const uint8_t* mask,
                    int maskWidth, int maskHeight, int maskStride, StampPoint place, StampColour colour);

bool PaintStampMask(uint8_t* frame, const qel::imaging::PixelLayout& layout, const StampMask& mask,
                    StampPoint place, StampColour colour);
