#pragma once
// Turns an RGB24 frame (three bytes a pixel, blue, green, red) by a quarter turn or a half turn
// within a frame of the same size. Platform-neutral: no Windows header.
#include <cstdint>

#include "qelimaging/pixel_layout.h"

struct RotateParams {
    int angle = 0;                // degrees: 0, 90, 180 or 270; any other angle copies the frame
    int method = 0;               // quarter turns: 0 cuts the centred square, 1 shrinks into a band
    std::uint32_t backColor = 0;  // 0x00BBGGRR, for what the turned picture does not cover
};

enum RotateMethod { kRotateCut = 0, kRotateZoom = 1 };

// source and destination hold the layout's rows each and must not overlap. A positive height is a
// bottom-up frame, a negative one top-down; the picture turns the same way on screen in both. Row
// padding is copied from the source row of the same index. Returns false, writing nothing, for null
// buffers, a width or height of 0, a layout that is not three bytes a pixel, or a stride too small
// for the width.
bool RotateFrame(const std::uint8_t* source, std::uint8_t* destination,
                 const qel::imaging::PixelLayout& layout, const RotateParams& params);
