// Copying the row padding alone, which lets a routine that writes pixels only give a whole frame.
#include "qelimaging/pixel_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qel::imaging {
namespace {

PixelLayout LayoutOf(int width, int height, int stride, int channels) {
    PixelLayout layout;
    layout.width = width;
    layout.height = height;
    layout.stride = stride;
    layout.channels = channels;
    return layout;
}

// Copies the padding of a numbered source into a marked destination; checks every byte.
void ExpectOnlyPaddingCopied(const PixelLayout& layout) {
    const int rows = RowCount(layout);
    std::vector<std::uint8_t> source(ImageBytes(layout));
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::vector<std::uint8_t> destination(source.size(), 0xEE);
    CopyRowPadding(source.data(), destination.data(), layout);
    const int pixelBytes = layout.width * layout.channels;
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < layout.stride; ++x) {
            const std::size_t at = static_cast<std::size_t>(row) * layout.stride + x;
            if (x < pixelBytes)
                ASSERT_EQ(destination[at], 0xEE) << "pixel byte " << x << " of row " << row;
            else
                ASSERT_EQ(destination[at], source[at]) << "padding byte " << x << " of row " << row;
        }
}

TEST(CopyRowPadding, CopiesThePaddingOfEveryRowAndNoPixel) {
    ExpectOnlyPaddingCopied(LayoutOf(33, 19, DibStride(33, 3), 3));       // one byte of DIB padding
    ExpectOnlyPaddingCopied(LayoutOf(33, -19, DibStride(33, 3) + 9, 3));  // top-down, wider rows
    ExpectOnlyPaddingCopied(LayoutOf(5, 3, 8, 1));                        // one channel
}

TEST(CopyRowPadding, RowsWithoutPaddingAndEmptyFramesAreLeftAlone) {
    ExpectOnlyPaddingCopied(LayoutOf(4, 3, 12, 3));
    ExpectOnlyPaddingCopied(LayoutOf(0, 0, 0, 3));
}

} // namespace
} // namespace qel::imaging
