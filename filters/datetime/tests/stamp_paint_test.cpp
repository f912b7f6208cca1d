#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "test_frame.h"
#include "core/stamp_paint.h"

namespace {

constexpr StampColour kColour{10, 20, 30};  // red, green, blue

// A mask whose pixel (x, y) is set when (x + 2 y) % 3 == 0: easy to predict, not symmetric.
StampMask PatternMask(int width, int height) {
    StampMask mask;
    mask.width = width;
    mask.height = height;
    mask.coverage.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.coverage[static_cast<size_t>(y) * width + x] = (x + 2 * y) % 3 == 0 ? 255 : 0;
    return mask;
}

bool IsColour(const uint8_t* pixel) {
    return pixel[0] == kColour.blue && pixel[1] == kColour.green && pixel[2] == kColour.red;
}

// Paints the pattern at place and checks every pixel of the picture against the expectation.
void ExpectPainted(int width, int height, int padding, StampPoint place, int maskWidth, int maskHeight) {
    TestFrame frame = TestFrame::DataPadded(width, height, padding);
    frame.FillRandom(11);
    TestFrame original = TestFrame::DataPadded(width, height, padding);
    std::memcpy(original.Data(), frame.Data(), frame.Bytes());
    const StampMask mask = PatternMask(maskWidth, maskHeight);

    EXPECT_TRUE(PaintStampMask(frame.Data(), qel::imaging::PixelLayout{width, height, frame.Stride(), 3},
                               mask, place, kColour));

    for (int y = 0; y < frame.Lines(); ++y)
        for (int x = 0; x < width; ++x) {
            const int mx = x - place.x, my = y - place.y;
            const bool inBox = mx >= 0 && my >= 0 && mx < maskWidth && my < maskHeight;
            const bool set = inBox && (mx + 2 * my) % 3 == 0;
            if (set)
                ASSERT_TRUE(IsColour(frame.FromTop(x, y))) << x << "," << y;
            else
                ASSERT_EQ(std::memcmp(frame.FromTop(x, y), original.FromTop(x, y), 3), 0) << x << "," << y;
        }
    // Row padding is never painted.
    for (int row = 0; row < frame.Lines(); ++row)
        ASSERT_EQ(std::memcmp(frame.At(width, row), original.At(width, row),
                              static_cast<size_t>(frame.Stride() - width * 3)),
                  0);
    EXPECT_TRUE(frame.GuardsIntact());
}

TEST(StampPaint, PaintsTheMaskUprightInBothOrientations) {
    ExpectPainted(33, 19, 0, {4, 3}, 10, 7);
    ExpectPainted(33, -19, 0, {4, 3}, 10, 7);
    ExpectPainted(33, 19, 8, {0, 0}, 33, 19);
    ExpectPainted(33, -19, 4, {22, 11}, 11, 8);
}

TEST(StampPaint, ClipsAtEveryEdge) {
    ExpectPainted(33, 19, 0, {-10, -5}, 20, 12);   // left and top cut off
    ExpectPainted(33, 19, 0, {25, 14}, 20, 12);    // right and bottom cut off
    ExpectPainted(33, -19, 4, {-3, -2}, 40, 25);   // larger than the frame
    ExpectPainted(1, 1, 0, {0, 0}, 5, 5);
}

TEST(StampPaint, BoxesOutsideTheFrameLeaveItUnchanged) {
    ExpectPainted(33, 19, 0, {33, 0}, 10, 5);
    ExpectPainted(33, 19, 0, {0, 19}, 10, 5);
    ExpectPainted(33, 19, 0, {-10, 0}, 10, 5);
}

TEST(StampPaint, IgnoresNullAndEmptyInput) {
    TestFrame frame = TestFrame::DataPadded(8, 8);
    frame.FillBytes(1);
    const qel::imaging::PixelLayout layout{8, 8, frame.Stride(), 3};
    EXPECT_FALSE(PaintStampMask(frame.Data(), layout, StampMask{}, {0, 0}, kColour));
    EXPECT_FALSE(PaintStampMask(nullptr, layout, PatternMask(4, 4), {0, 0}, kColour));
    EXPECT_FALSE(PaintStampMask(frame.Data(), qel::imaging::PixelLayout{8, 8, 8 * 3 - 1, 3},
                                PatternMask(4, 4), {0, 0}, kColour));
    EXPECT_FALSE(PaintStampMask(frame.Data(), qel::imaging::PixelLayout{8, 8, frame.Stride(), 4},
                                PatternMask(4, 4), {0, 0}, kColour));
    for (size_t i = 0; i < frame.Bytes(); ++i)
        ASSERT_EQ(frame.Data()[i], 1);
}

TEST(StampMaskExpand, BitSevenIsTheLeftmostPixelAndBottomUpRowsAreTurned) {
    // Two rows of 10 pixels, 4 bytes a row as a DIB pads them; the first row in memory is the bottom.
    const uint8_t bits[8] = {0x80, 0x40, 0xFF, 0xFF,  // bottom: pixels 0 and 9
                             0x01, 0x00, 0xFF, 0xFF}; // top: pixel 7
    StampMask mask;
    ASSERT_TRUE(ExpandOneBitMask(bits, 10, 2, 4, MaskRowOrder::BottomUp, mask));
    ASSERT_EQ(mask.coverage.size(), 20u);
    std::vector<uint8_t> expected(20, 0);
    expected[7] = 255;            // top row
    expected[10 + 0] = 255;       // bottom row
    expected[10 + 9] = 255;
    EXPECT_EQ(mask.coverage, expected);

    ASSERT_TRUE(ExpandOneBitMask(bits, 10, 2, 4, MaskRowOrder::TopDown, mask));
    EXPECT_EQ(mask.coverage[0], 255);
    EXPECT_EQ(mask.coverage[10 + 7], 255);
}

TEST(StampMaskExpand, RefusesBuffersThatCannotHoldTheMask) {
    const uint8_t bits[4] = {};
    StampMask mask;
    EXPECT_FALSE(ExpandOneBitMask(nullptr, 8, 1, 4, MaskRowOrder::TopDown, mask));
    EXPECT_FALSE(ExpandOneBitMask(bits, 17, 1, 2, MaskRowOrder::TopDown, mask));
    EXPECT_FALSE(ExpandOneBitMask(bits, 0, 1, 4, MaskRowOrder::TopDown, mask));
    EXPECT_TRUE(mask.empty());
}

}  // namespace
