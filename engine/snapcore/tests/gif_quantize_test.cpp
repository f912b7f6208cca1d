#include "GifQuantize.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 33, kHeight = 19;
constexpr int kSourceStride = 104; // 99 bytes of pixels and 5 of padding
constexpr int kIndexStride = 36;   // 33 indexes and 3 of padding

struct Rgb {
    int r, g, b;
};

Rgb Entry(int index) {
    const std::uint32_t argb = HalftonePaletteEntry(index);
    return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
            static_cast<int>(argb & 0xFF)};
}

// A picture with gradients in every channel, stored bottom-up (row 0 in memory is the bottom row).
std::vector<std::uint8_t> Gradient() {
    std::vector<std::uint8_t> frame(kSourceStride * kHeight, 0xAB);
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &frame[row * kSourceStride + x * 3];
            p[0] = static_cast<std::uint8_t>(x * 255 / (kWidth - 1));
            p[1] = static_cast<std::uint8_t>(row * 255 / (kHeight - 1));
            p[2] = static_cast<std::uint8_t>((x * 7 + row * 13) % 256);
        }
    return frame;
}

std::vector<std::uint8_t> Reduce(const std::vector<std::uint8_t>& source, int height) {
    std::vector<std::uint8_t> indexes(kIndexStride * kHeight, 0xEE);
    EXPECT_TRUE(ReduceToHalftone(source.data(), kSourceStride, indexes.data(), kIndexStride, kWidth, height));
    return indexes;
}

TEST(GifQuantize, ThePaletteIsTheSixLevelCubeThenBlack) {
    const Rgb first = Entry(0), last = Entry(215), mid = Entry(1 * 36 + 2 * 6 + 3);
    EXPECT_EQ(0, first.r + first.g + first.b);
    EXPECT_EQ(255, last.r);
    EXPECT_EQ(255, last.g);
    EXPECT_EQ(255, last.b);
    EXPECT_EQ(51, mid.r);
    EXPECT_EQ(102, mid.g);
    EXPECT_EQ(153, mid.b);
    for (int i = 0; i < kHalftonePaletteSize; ++i)
        EXPECT_EQ(0xFF000000u, HalftonePaletteEntry(i) & 0xFF000000u) << i;
    EXPECT_EQ(0xFF000000u, HalftonePaletteEntry(216));
    EXPECT_EQ(0xFF000000u, HalftonePaletteEntry(-1));
}

TEST(GifQuantize, EveryPixelLandsOnOneOfItsTwoNearestLevels) {
    const auto source = Gradient();
    const auto indexes = Reduce(source, kHeight);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            const int index = indexes[row * kIndexStride + x];
            ASSERT_LT(index, kHalftoneCubeColours);
            const Rgb got = Entry(index);
            const std::uint8_t* p = &source[row * kSourceStride + x * 3];
            EXPECT_LT(std::abs(got.b - p[0]), 51) << row << "," << x;
            EXPECT_LT(std::abs(got.g - p[1]), 51) << row << "," << x;
            EXPECT_LT(std::abs(got.r - p[2]), 51) << row << "," << x;
        }
        // The padding of each index row is left alone.
        for (int pad = kWidth; pad < kIndexStride; ++pad)
            EXPECT_EQ(0xEE, indexes[row * kIndexStride + pad]);
    }
}

TEST(GifQuantize, PureColoursAreExactAndFlatAreasKeepTheirAverage) {
    for (int value : {0, 255, 51, 100, 128, 200}) {
        std::vector<std::uint8_t> flat(kSourceStride * kHeight);
        for (int row = 0; row < kHeight; ++row)
            for (int x = 0; x < kWidth * 3; ++x)
                flat[row * kSourceStride + x] = static_cast<std::uint8_t>(value);
        const auto indexes = Reduce(flat, kHeight);
        // A 32 x 16 block holds whole dither tiles.
        long sum = 0;
        for (int row = 0; row < 16; ++row)
            for (int x = 0; x < 32; ++x)
                sum += Entry(indexes[row * kIndexStride + x]).g;
        const double average = sum / (32.0 * 16.0);
        EXPECT_NEAR(value, average, 51.0 / 16) << value;
        if (value % 51 == 0) {
            EXPECT_EQ(value, Entry(indexes[0]).r) << value;
        }
    }
}

TEST(GifQuantize, TheDitherFollowsThePictureInEitherRowOrder) {
    const auto bottomUp = Gradient();
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < kHeight; ++row)
        std::copy(&bottomUp[row * kSourceStride], &bottomUp[(row + 1) * kSourceStride],
                  &topDown[(kHeight - 1 - row) * kSourceStride]);
    const auto fromBottomUp = Reduce(bottomUp, kHeight);
    const auto fromTopDown = Reduce(topDown, -kHeight);
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(fromBottomUp[row * kIndexStride + x],
                      fromTopDown[(kHeight - 1 - row) * kIndexStride + x])
                << row << "," << x;
}

TEST(GifQuantize, BadArgumentsWriteNothing) {
    const auto source = Gradient();
    std::vector<std::uint8_t> indexes(kIndexStride * kHeight, 0xEE);
    EXPECT_FALSE(ReduceToHalftone(nullptr, kSourceStride, indexes.data(), kIndexStride, kWidth, kHeight));
    EXPECT_FALSE(ReduceToHalftone(source.data(), kSourceStride, nullptr, kIndexStride, kWidth, kHeight));
    EXPECT_FALSE(ReduceToHalftone(source.data(), kSourceStride, indexes.data(), kIndexStride, 0, kHeight));
    EXPECT_FALSE(ReduceToHalftone(source.data(), kSourceStride, indexes.data(), kIndexStride, kWidth, 0));
    EXPECT_FALSE(
        ReduceToHalftone(source.data(), kWidth * 3 - 1, indexes.data(), kIndexStride, kWidth, kHeight));
    EXPECT_FALSE(ReduceToHalftone(source.data(), kSourceStride, indexes.data(), kWidth - 1, kWidth, kHeight));
    for (std::uint8_t b : indexes)
        ASSERT_EQ(0xEE, b);
}

} // namespace
