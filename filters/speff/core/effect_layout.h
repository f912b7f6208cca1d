#pragma once
// The frames the effects process, described by the imaging library's layout: three bytes a pixel,
// validated once so that the per-pixel loops need no checks and every size is known to fit.
#include <cstddef>

#include "qelimaging/pixel_layout.h"

// The pixel width in bytes of every frame the effects process.
constexpr int kEffectBytesPerPixel = 3;

// True when a frame of this layout can be processed: three bytes a pixel, a positive width, a
// non-zero height, rows of at least width x 3 bytes, and a frame size that fits in memory arithmetic.
bool IsEffectLayout(const qel::imaging::PixelLayout& layout);

// Picture line 0 is the bottom line in either orientation, so that an effect looks the same on a
// top-down frame as on the usual bottom-up one.
inline std::size_t PictureLineOffset(const qel::imaging::PixelLayout& layout, int line) {
    const int row = layout.height < 0 ? qel::imaging::RowCount(layout) - 1 - line : line;
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(layout.stride);
}
