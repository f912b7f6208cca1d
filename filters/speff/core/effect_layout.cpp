#include "core/effect_layout.h"

#include <climits>
#include <cstdint>

bool IsEffectLayout(const qel::imaging::PixelLayout& layout) {
    if (layout.channels != kEffectBytesPerPixel || layout.width <= 0 || layout.height == 0 ||
        layout.height == INT_MIN || !qel::imaging::IsValidLayout(layout))
        return false;
    // Pixel counts and byte offsets are computed in size_t and ptrdiff_t; keep both in range.
    const uint64_t frameBytes =
        static_cast<uint64_t>(layout.stride) * static_cast<uint64_t>(qel::imaging::RowCount(layout));
    return frameBytes <= static_cast<uint64_t>(PTRDIFF_MAX) / 2;
}
