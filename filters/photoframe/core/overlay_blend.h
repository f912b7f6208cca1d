// Lays the photo frame over a video frame.
#pragma once

#include <cstdint>

#include "core/overlay_image.h"

// Blends a BGRA overlay (bottom-up rows, overlayStride bytes apart) of width x |height| pixels over
// an RGB24 frame: alpha 255 takes the overlay's colour, alpha 0 keeps the video, anything between
// mixes (video x (255 - alpha) + overlay x alpha) / 255. height < 0 marks a top-down video frame;
// the overlay stays upright either way. src may equal dst.
void BlendOverlayRgb24(const uint8_t* src, uint8_t* dst, int width, int height, int stride,
                       const uint8_t* overlay, int overlayStride);

// The same over an OverlayImage; false without writing when the overlay is not the frame's size.
bool BlendOverlayFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride,
                       const OverlayImage& overlay);
