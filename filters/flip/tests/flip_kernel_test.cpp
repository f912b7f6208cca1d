#include "core/flip_kernel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "test_frame.h"

namespace {

constexpr int kWidth = 33, kHeight = 19; // 99 bytes of pixels, 5 of padding: rows of 104 bytes

// Every byte, padding included, set: the padding is data the kernel copies with its row.
TestFrame Pattern(int height = kHeight) {
    TestFrame frame = TestFrame::DataPadded(kWidth, height, 4);
    for (size_t i = 0; i < frame.Bytes(); ++i)
        frame.Data()[i] = static_cast<std::uint8_t>(i * 7 + i / static_cast<size_t>(frame.Stride()));
    return frame;
}

TestFrame Flipped(const TestFrame& in, FlipParams params) {
    TestFrame out = TestFrame::DataPadded(kWidth, in.Height(), 4);
    out.FillBytes(0xEE);
    EXPECT_TRUE(FlipFrame(in.Data(), out.Data(), in.Layout(), params));
    EXPECT_TRUE(out.GuardsIntact() && in.GuardsIntact());
    return out;
}

bool Same(const TestFrame& a, int rowA, int xA, const TestFrame& b, int rowB, int xB) {
    return std::memcmp(a.At(xA, rowA), b.At(xB, rowB), 3) == 0;
}

bool SameBytes(const TestFrame& a, const TestFrame& b) {
    return a.Bytes() == b.Bytes() && std::memcmp(a.Data(), b.Data(), a.Bytes()) == 0;
}

} // namespace

TEST(FlipKernel, NoFlipCopiesTheWholeFrame) {
    const TestFrame in = Pattern();
    EXPECT_TRUE(SameBytes(Flipped(in, {}), in));
}

TEST(FlipKernel, TopBottomReversesRowsWithTheirPadding) {
    const TestFrame in = Pattern();
    const TestFrame out = Flipped(in, {true, false});
    for (int row = 0; row < kHeight; ++row)
        ASSERT_EQ(0,
                  std::memcmp(in.At(0, kHeight - 1 - row), out.At(0, row), static_cast<size_t>(in.Stride())));
}

TEST(FlipKernel, LeftRightMirrorsEachRowAndKeepsItsPadding) {
    const TestFrame in = Pattern();
    const TestFrame out = Flipped(in, {false, true});
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x)
            ASSERT_TRUE(Same(out, row, x, in, row, kWidth - 1 - x)) << row << "," << x;
        ASSERT_EQ(0, std::memcmp(in.At(kWidth, row), out.At(kWidth, row),
                                 static_cast<size_t>(in.Stride() - kWidth * 3)));
    }
}

TEST(FlipKernel, MirrorsEveryWidthAroundTheFivePixelGroupsWithoutTouchingWhatLiesBeyond) {
    // Widths below one group, around multiples of five and a camera's: rows packed tight (stride 3 x
    // width, no padding to absorb a stray byte) in a buffer with guard bytes after the frame.
    for (int width : {1, 2, 4, 5, 6, 7, 10, 11, 12, 16, 31, 64, 1280}) {
        SCOPED_TRACE(width);
        const int stride = 3 * width, rows = 3;
        std::vector<std::uint8_t> in(static_cast<size_t>(stride) * rows + 16), out(in.size(), 0xEE);
        for (size_t i = 0; i < in.size(); ++i)
            in[i] = static_cast<std::uint8_t>(i * 13 + i / 7);
        ASSERT_TRUE(FlipFrame(in.data(), out.data(), qel::imaging::PixelLayout{width, rows, stride, 3}, {false, true}));
        for (int row = 0; row < rows; ++row)
            for (int x = 0; x < width; ++x)
                ASSERT_TRUE(std::equal(&in[row * stride + (width - 1 - x) * 3], &in[row * stride + (width - x) * 3],
                                       &out[row * stride + x * 3]))
                    << row << "," << x;
        for (size_t i = static_cast<size_t>(stride) * rows; i < out.size(); ++i)
            ASSERT_EQ(out[i], 0xEE) << "guard byte " << i;
    }
}

TEST(FlipKernel, BothIsAHalfTurnInEitherOrientation) {
    for (int height : {kHeight, -kHeight}) {
        const TestFrame in = Pattern(height);
        const TestFrame out = Flipped(in, {true, true});
        for (int row = 0; row < kHeight; ++row)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_TRUE(Same(out, row, x, in, kHeight - 1 - row, kWidth - 1 - x));
    }
}

TEST(FlipKernel, RefusesWhatItCannotFlip) {
    const TestFrame in = Pattern();
    TestFrame out = in.Blank();
    const TestFrame untouched = out;
    const int stride = in.Stride();
    EXPECT_FALSE(FlipFrame(nullptr, out.Data(), in.Layout(), {true, true}));
    EXPECT_FALSE(
        FlipFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{kWidth, 0, stride, 3}, {true, true}));
    EXPECT_FALSE(FlipFrame(in.Data(), out.Data(),
                           qel::imaging::PixelLayout{kWidth, kHeight, kWidth * 3 - 1, 3}, {true, true}));
    EXPECT_FALSE(FlipFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{kWidth, kHeight, stride, 1},
                           {true, true}));
    EXPECT_TRUE(SameBytes(out, untouched) && out.GuardsIntact());
}
