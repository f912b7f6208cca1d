// The zoom scaler: enlarges a region of an RGB frame to the full frame by the taps of a zoom plan.
#pragma once

#include <cstdint>

#include "core/zoom_plan.h"

// Every output pixel is the bilinear mix of up to four source pixels, per component, with integer
// weights (products of the two 1-D weights) and one truncating division by the product of the two
// weight sums. src and dst must not overlap; height may be negative (top-down), rows are taken in
// buffer order either way. Returns false without writing when the layout is unusable or the tables
// do not fit this frame.
bool ScaleZoomFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                    const ZoomAxis& columns, const ZoomAxis& rows);
