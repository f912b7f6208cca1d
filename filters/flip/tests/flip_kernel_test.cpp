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
    EXPECT_TRUE(FlipFrame(in.data(), out.data(), qel::imaging::PixelLayout{kWidth, height, kStride, 3}, params));
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
    EXPECT_FALSE(FlipFrame(nullptr, out.data(), qel::imaging::PixelLayout{kWidth, kHeight, kStride, 3}, {true, true}));
    EXPECT_FALSE(FlipFrame(in.data(), out.data(), qel::imaging::PixelLayout{kWidth, 0, kStride, 3}, {true, true}));
    EXPECT_FALSE(FlipFrame(in.data(), out.data(), qel::imaging::PixelLayout{kWidth, kHeight, kWidth * 3 - 1, 3}, {true, true}));
    EXPECT_EQ(out, untouched);
}
