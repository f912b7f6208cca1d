#include "core/overlay_blend.h"

#include "core/overlay_blend_avx2.h"
#include "qelimaging/cpu_features.h"

#include <cstddef>
#include <cstdlib>

void BlendOverlayRgb24(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                       const uint8_t* overlay, int overlayStride) {
    const int width = layout.width;
    const int height = layout.height;
    const int stride = layout.stride;
    const int rows = qel::imaging::RowCount(layout);
    const bool wide = qel::imaging::CpuHasAvx2();
    for (int row = 0; row < rows; ++row) {
        // Overlay rows count from the bottom of the picture; so do the rows of a bottom-up frame.
        const int overlayRow = height > 0 ? row : rows - 1 - row;
        const uint8_t* in = src + static_cast<ptrdiff_t>(row) * stride;
        uint8_t* out = dst + static_cast<ptrdiff_t>(row) * stride;
        const uint8_t* frame = overlay + static_cast<ptrdiff_t>(overlayRow) * overlayStride;
        int x = 0;
        if (wide) {
            x = BlendOverlayRowAvx2(in, frame, out, width);
            in += 3 * x;
            out += 3 * x;
            frame += 4 * x;
        }
        for (; x < width; ++x, in += 3, out += 3, frame += 4) {
            const unsigned alpha = frame[3];
            if (alpha == 255) {
                out[0] = frame[0];
                out[1] = frame[1];
                out[2] = frame[2];
            } else if (alpha == 0) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {
                const unsigned keep = 255 - alpha;
                out[0] = static_cast<uint8_t>((in[0] * keep + frame[0] * alpha) / 255);
                out[1] = static_cast<uint8_t>((in[1] * keep + frame[1] * alpha) / 255);
                out[2] = static_cast<uint8_t>((in[2] * keep + frame[2] * alpha) / 255);
            }
        }
    }
}

bool BlendOverlayFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                       const OverlayImage& overlay) {
    if (!src || !dst || !qel::imaging::IsValidLayout(layout) || layout.channels != 3 || layout.width < 1 ||
        layout.height == 0 || overlay.width != layout.width ||
        overlay.height != qel::imaging::RowCount(layout) ||
        overlay.pixels.size() < static_cast<size_t>(overlay.stride()) * static_cast<size_t>(overlay.height))
        return false;
    BlendOverlayRgb24(src, dst, layout, overlay.pixels.data(), overlay.stride());
    return true;
}
