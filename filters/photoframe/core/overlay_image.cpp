#include "core/overlay_image.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

bool IsOverlaySize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxOverlaySide && height <= kMaxOverlaySide;
}

bool Allocate(OverlayImage& image, int width, int height) {
    try {
        image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    } catch (const std::bad_alloc&) {
        image = OverlayImage{};
        return false;
    }
    image.width = width;
    image.height = height;
    return true;
}

// One destination column (row): the source pixel it starts from, the next one, and the 10-bit
// weight of the next one. The last source pixel pairs with itself.
struct AxisTap {
    int first;
    int second;
    int fraction;
};

std::vector<AxisTap> AxisTaps(int srcLength, int dstLength) {
    std::vector<AxisTap> taps(static_cast<size_t>(dstLength));
    const float ratio = static_cast<float>(srcLength) / static_cast<float>(dstLength);
    for (int i = 0; i < dstLength; ++i) {
        const float position = static_cast<float>(i) * ratio;
        const int index = static_cast<int>(position);
        if (index < srcLength - 1)
            taps[static_cast<size_t>(i)] = {index, index + 1,
                                            static_cast<int>((position - static_cast<float>(index)) * 1024.0f + 0.5f)};
        else
            taps[static_cast<size_t>(i)] = {srcLength - 1, srcLength - 1, 0};
    }
    return taps;
}

}  // namespace

bool ImportOverlay(const uint8_t* pixels, int width, int height, int stride, OverlayRowOrder order,
                   OverlayImage& out) {
    out = OverlayImage{};
    if (!pixels || !IsOverlaySize(width, height) || stride < width * 4)
        return false;
    if (!Allocate(out, width, height))
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        const int sourceRow = order == OverlayRowOrder::TopDown ? height - 1 - row : row;
        std::memcpy(out.pixels.data() + static_cast<size_t>(row) * rowBytes,
                    pixels + static_cast<size_t>(sourceRow) * static_cast<size_t>(stride), rowBytes);
    }
    return true;
}

void RescaleBgra(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst, int dstWidth,
                 int dstHeight, int dstStride) {
    const std::vector<AxisTap> rows = AxisTaps(srcHeight, dstHeight);
    const std::vector<AxisTap> columns = AxisTaps(srcWidth, dstWidth);
    for (int i = 0; i < dstHeight; ++i) {
        const AxisTap& row = rows[static_cast<size_t>(i)];
        const uint8_t* upper = src + static_cast<size_t>(row.first) * static_cast<size_t>(srcStride);
        const uint8_t* lower = src + static_cast<size_t>(row.second) * static_cast<size_t>(srcStride);
        const int64_t fy = row.fraction;
        uint8_t* out = dst + static_cast<size_t>(i) * static_cast<size_t>(dstStride);
        for (int j = 0; j < dstWidth; ++j) {
            const AxisTap& column = columns[static_cast<size_t>(j)];
            const int64_t fx = column.fraction;
            for (int c = 0; c < 4; ++c) {
                const int64_t a = upper[column.first * 4 + c];
                const int64_t b = upper[column.second * 4 + c];
                const int64_t cc = lower[column.first * 4 + c];
                const int64_t d = lower[column.second * 4 + c];
                const int64_t value = ((fy * (a + d - b - cc) + (b - a) * 1024) * fx + ((cc - a) * fy + a * 1024) * 1024) >> 20;
                out[j * 4 + c] = static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
            }
        }
    }
}

bool RescaleOverlay(const OverlayImage& source, int width, int height, OverlayImage& out) {
    out = OverlayImage{};
    if (source.empty() || source.pixels.size() < static_cast<size_t>(source.stride()) * static_cast<size_t>(source.height) ||
        !IsOverlaySize(width, height))
        return false;
    if (!Allocate(out, width, height))
        return false;
    RescaleBgra(source.pixels.data(), source.width, source.height, source.stride(), out.pixels.data(), width, height,
                out.stride());
    return true;
}
