// The rendered text as a coverage mask: one byte a pixel, non-zero where the text is, rows top-down.
#pragma once

#include <cstdint>
#include <vector>

struct StampMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;  // width bytes a row, row 0 is the top of the text box

    bool empty() const { return width <= 0 || height <= 0 || coverage.empty(); }
};

enum class MaskRowOrder { TopDown, BottomUp };

// Expands a one-bit bitmap (bit 7 of a byte is its leftmost pixel; rowStride bytes a row) to a mask:
// set bits become 255. False (out empty) for sizes the buffer cannot describe.
bool ExpandOneBitMask(const uint8_t* bits, int width, int height, int rowStride, MaskRowOrder order, StampMask& out);
