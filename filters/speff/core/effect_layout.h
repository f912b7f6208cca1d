#pragma once
// The format an effect was initialised with, as the imaging routines take it.
#include "core/effect.h"
#include "qelimaging/pixel_layout.h"

inline qel::imaging::PixelLayout ImagingLayoutOf(const CEffect& effect) {
    qel::imaging::PixelLayout layout;
    layout.width = effect.Width();
    layout.height = effect.Height();
    layout.stride = effect.Stride();
    layout.channels = 3;
    layout.order = effect.ByteOrder() == kByteOrderRgb ? qel::imaging::ByteOrder::RGB : qel::imaging::ByteOrder::BGR;
    return layout;
}
