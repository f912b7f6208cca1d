// Paints the stamp's colour into an RGB24 frame wherever the text mask is set.
#pragma once

#include <cstdint>

#include "core/stamp_layout.h"
#include "core/stamp_mask.h"

struct StampColour {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
};

// The mask's box has its top-left at place (picture pixels from the top-left corner); every frame
// pixel under a non-zero mask byte becomes colour (bytes blue, green, red). Clipped to the frame on
// all sides. height < 0 marks a top-down frame; the text stays upright either way.
void PaintStampMask(uint8_t* frame, int width, int height, int stride, const uint8_t* mask, int maskWidth,
                    int maskHeight, int maskStride, StampPoint place, StampColour colour);

void PaintStampMask(uint8_t* frame, int width, int height, int stride, const StampMask& mask, StampPoint place,
                    StampColour colour);
