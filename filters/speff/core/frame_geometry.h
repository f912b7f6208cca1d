#pragma once
// The layout of one RGB24 frame as the effects see it: validated once, so that the per-pixel loops
// need no checks and every size is known to fit.
#include <cstddef>
#include <cstdint>

struct FrameGeometry {
    int width = 0;
    int lines = 0;  // |height|
    int stride = 0;
    bool topDown = false;  // a negative height

    // Fills out and returns true when a frame of these values can be processed: three bytes a pixel,
    // a positive width, a non-zero height, rows of at least width x 3 bytes, and a frame size that
    // fits in memory arithmetic.
    static bool Make(int width, int height, int bytesPerPixel, int stride, FrameGeometry* out);

    size_t FrameBytes() const { return static_cast<size_t>(stride) * static_cast<size_t>(lines); }

    // Line 0 is the bottom line of the picture in either orientation, so that an effect looks the
    // same on a top-down frame as on the usual bottom-up one.
    size_t LineOffset(int line) const {
        const int row = topDown ? lines - 1 - line : line;
        return static_cast<size_t>(row) * static_cast<size_t>(stride);
    }
};

// The pixel width in bytes of every frame the effects process.
constexpr int kEffectBytesPerPixel = 3;
