#include "qelimaging/pixel_layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace qel::imaging {

int DibStride(int width, int bytesPerPixel) {
    if (width <= 0 || bytesPerPixel <= 0) {
        return 0;
    }
    const long long bytes = static_cast<long long>(width) * bytesPerPixel;
    return static_cast<int>((bytes + 3) / 4 * 4);
}

PixelLayout Rgb24Layout(int width, int height) {
    PixelLayout layout;
    layout.width = width;
    layout.height = height;
    layout.stride = DibStride(width, 3);
    layout.channels = 3;
    layout.order = ByteOrder::BGR;
    return layout;
}

bool IsValidLayout(const PixelLayout& layout) {
    if (layout.channels != 1 && layout.channels != 3) {
        return false;
    }
    if (layout.width < 0 || layout.height == INT_MIN || layout.stride < 0) {
        return false;
    }
    return static_cast<long long>(layout.width) * layout.channels <= layout.stride || layout.width == 0;
}

std::size_t ImageBytes(const PixelLayout& layout) {
    return static_cast<std::size_t>(layout.stride) * static_cast<std::size_t>(RowCount(layout));
}

Span ClipRegion(const PixelLayout& layout, const Region* region) {
    const int rows = RowCount(layout);
    if (region == nullptr) {
        return Span{0, layout.width, 0, rows};
    }
    Span span;
    span.x0 = std::clamp(std::min(region->left, region->right), 0, layout.width);
    span.x1 = std::clamp(std::max(region->left, region->right), 0, layout.width);
    span.y0 = std::clamp(std::min(region->top, region->bottom), 0, rows);
    span.y1 = std::clamp(std::max(region->top, region->bottom), 0, rows);
    return span;
}

void CopyPixels(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                const Span& span) {
    if (source == destination || span.Empty()) {
        return;
    }
    const std::size_t offset = static_cast<std::size_t>(span.x0) * layout.channels;
    const std::size_t bytes = static_cast<std::size_t>(span.x1 - span.x0) * layout.channels;
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * layout.stride + offset;
        std::memmove(destination + row, source + row, bytes);
    }
}

void CopyFramePixels(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout) {
    CopyPixels(source, destination, layout, ClipRegion(layout, nullptr));
}

void CopyRowPadding(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout) {
    const std::size_t pixels = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.channels);
    if (layout.stride < 0 || static_cast<std::size_t>(layout.stride) <= pixels)
        return;  // no padding (or rows too short to hold their pixels)
    const std::size_t padding = static_cast<std::size_t>(layout.stride) - pixels;
    for (int row = 0; row < RowCount(layout); ++row) {
        const std::size_t offset = static_cast<std::size_t>(row) * static_cast<std::size_t>(layout.stride) + pixels;
        std::memcpy(destination + offset, source + offset, padding);
    }
}

} // namespace qel::imaging
