#include "core/flip_kernel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 33, kHeight = 19, kStride = 104; // 99 bytes of pixels, 5 of padding

std::vector<std::uint8_t> Pattern() {
    std::vector<std::uint8_t> frame(kStride * kHeight);
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(i * 7 + i / kStride);
    return frame;
}

std::vector<std::uint8_t> Flipped(const std::vector<std::uint8_t>& in, FlipParams params, int height = kHeight) {
    std::vector<std::uint8_t> out(in.size(), 0xEE);
    EXPECT_TRUE(FlipFrame(in.data(), out.data(), kWidth, height, kStride, params));
    return out;
}

const std::uint8_t* Pixel(const std::vector<std::uint8_t>& f, int row, int x) { return &f[row * kStride + x * 3]; }

bool Same(const std::vector<std::uint8_t>& a, int rowA, int xA, const std::vector<std::uint8_t>& b, int rowB, int xB) {
    return std::equal(Pixel(a, rowA, xA), Pixel(a, rowA, xA) + 3, Pixel(b, rowB, xB));
}

} // namespace

TEST(FlipKernel, NoFlipCopiesTheWholeFrame) {
    const auto in = Pattern();
    EXPECT_EQ(Flipped(in, {}), in);
}

TEST(FlipKernel, TopBottomReversesRowsWithTheirPadding) {
    const auto in = Pattern();
    const auto out = Flipped(in, {true, false});
    for (int row = 0; row < kHeight; ++row)
        ASSERT_TRUE(std::equal(&in[(kHeight - 1 - row) * kStride], &in[(kHeight - row) * kStride], &out[row * kStride]));
}

TEST(FlipKernel, LeftRightMirrorsEachRowAndKeepsItsPadding) {
    const auto in = Pattern();
    const auto out = Flipped(in, {false, true});
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x)
            ASSERT_TRUE(Same(out, row, x, in, row, kWidth - 1 - x)) << row << "," << x;
        ASSERT_TRUE(std::equal(&in[row * kStride + kWidth * 3], &in[(row + 1) * kStride], &out[row * kStride + kWidth * 3]));
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
        ASSERT_TRUE(FlipFrame(in.data(), out.data(), width, rows, stride, {false, true}));
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
    const auto in = Pattern();
    for (int height : {kHeight, -kHeight}) {
        const auto out = Flipped(in, {true, true}, height);
        for (int row = 0; row < kHeight; ++row)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_TRUE(Same(out, row, x, in, kHeight - 1 - row, kWidth - 1 - x));
    }
}

TEST(FlipKernel, RefusesWhatItCannotFlip) {
    const auto in = Pattern();
    std::vector<std::uint8_t> out(in.size(), 0xEE);
    const auto untouched = out;
    EXPECT_FALSE(FlipFrame(nullptr, out.data(), kWidth, kHeight, kStride, {true, true}));
    EXPECT_FALSE(FlipFrame(in.data(), out.data(), kWidth, 0, kStride, {true, true}));
    EXPECT_FALSE(FlipFrame(in.data(), out.data(), kWidth, kHeight, kWidth * 3 - 1, {true, true}));
    EXPECT_EQ(out, untouched);
}
