// Lays the photo frame over a video frame.
#pragma once

#include <cstdint>

#include "core/overlay_image.h"
#include "qelimaging/pixel_layout.h"

// Blends a BGRA overlay (bottom-up rows, overlayStride bytes apart) of the layout's size over a
// three-channel frame: alpha 255 takes the overlay's colour, alpha 0 keeps the video, anything
// between mixes (video x (255 - alpha) + overlay x alpha) / 255. A negative height marks a top-down
// video frame; the overlay stays upright either way. src may equal dst. The layout is trusted.
void BlendOverlayRgb24(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                       const uint8_t* overlay, int overlayStride);

// The same over an OverlayImage; false without writing when the layout is not a usable three-channel
// frame or the overlay is not the frame's size.
bool BlendOverlayFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                       const OverlayImage& overlay);
