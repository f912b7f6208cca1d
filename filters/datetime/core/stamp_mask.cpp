#include "core/stamp_mask.h"

#include <cstddef>

namespace {

// Text boxes beyond this are no stamp; it keeps the mask's size well inside memory and 32 bits.
constexpr int kMaxMaskSide = 16384;

}  // namespace

bool ExpandOneBitMask(const uint8_t* bits, int width, int height, int rowStride, MaskRowOrder order, StampMask& out) {
    out = StampMask{};
    if (!bits || width <= 0 || height <= 0 || width > kMaxMaskSide || height > kMaxMaskSide ||
        rowStride < (width + 7) / 8)
        return false;
    out.width = width;
    out.height = height;
    out.coverage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
        const int sourceRow = order == MaskRowOrder::BottomUp ? height - 1 - row : row;
        const uint8_t* in = bits + static_cast<size_t>(sourceRow) * static_cast<size_t>(rowStride);
        uint8_t* line = out.coverage.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x)
            if (in[x / 8] & (0x80 >> (x % 8)))
                line[x] = 255;
    }
    return true;
}
