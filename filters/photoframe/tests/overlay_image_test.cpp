#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/overlay_image.h"

namespace {

OverlayImage Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = b;
        image.pixels[i + 1] = g;
        image.pixels[i + 2] = r;
        image.pixels[i + 3] = a;
    }
    return image;
}

// A single-channel picture given row by row from the bottom: every channel of a pixel holds its value.
OverlayImage Gray(int width, int height, const std::vector<int>& values) {
    OverlayImage image = Solid(width, height, 0, 0, 0, 0);
    for (size_t i = 0; i < values.size(); ++i)
        std::memset(&image.pixels[i * 4], values[i], 4);
    return image;
}

std::vector<int> Channel0(const OverlayImage& image) {
    std::vector<int> values;
    for (size_t i = 0; i < image.pixels.size(); i += 4)
        values.push_back(image.pixels[i]);
    return values;
}

TEST(OverlayImport, TopDownPicturesBecomeBottomUp) {
    // Two rows of 3 pixels with a 4-byte row padding; the first row in memory is the top.
    const int stride = 3 * 4 + 4;
    std::vector<uint8_t> decoded(static_cast<size_t>(stride) * 2, 0xEE);
    for (int x = 0; x < 3; ++x) {
        std::memset(&decoded[static_cast<size_t>(x) * 4], 10 + x, 4);
        std::memset(&decoded[static_cast<size_t>(stride + x * 4)], 20 + x, 4);
    }
    OverlayImage image;
    ASSERT_TRUE(ImportOverlay(decoded.data(), 3, 2, stride, OverlayRowOrder::TopDown, image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels.size(), 24u);
    EXPECT_EQ(Channel0(image), (std::vector<int>{20, 21, 22, 10, 11, 12}));

    ASSERT_TRUE(ImportOverlay(decoded.data(), 3, 2, stride, OverlayRowOrder::BottomUp, image));
    EXPECT_EQ(Channel0(image), (std::vector<int>{10, 11, 12, 20, 21, 22}));
}

TEST(OverlayImport, RefusesBuffersThatCannotHoldThePicture) {
    std::vector<uint8_t> pixels(64, 0);
    OverlayImage image = Solid(2, 2, 1, 2, 3, 4);
    EXPECT_FALSE(ImportOverlay(nullptr, 2, 2, 8, OverlayRowOrder::TopDown, image));
    EXPECT_TRUE(image.empty());
    EXPECT_FALSE(ImportOverlay(pixels.data(), 0, 2, 8, OverlayRowOrder::TopDown, image));
    EXPECT_FALSE(ImportOverlay(pixels.data(), 2, -2, 8, OverlayRowOrder::TopDown, image));
    EXPECT_FALSE(ImportOverlay(pixels.data(), 2, 2, 7, OverlayRowOrder::TopDown, image));
    EXPECT_FALSE(ImportOverlay(pixels.data(), kMaxOverlaySide + 1, 1, (kMaxOverlaySide + 1) * 4,
                               OverlayRowOrder::TopDown, image));
}

TEST(OverlayRescale, TheSameSizeIsAnExactCopy) {
    OverlayImage source = Solid(33, 19, 0, 0, 0, 0);
    for (size_t i = 0; i < source.pixels.size(); ++i)
        source.pixels[i] = static_cast<uint8_t>(i * 37 + 11);
    OverlayImage out;
    ASSERT_TRUE(RescaleOverlay(source, 33, 19, out));
    EXPECT_EQ(out.pixels, source.pixels);
}

TEST(OverlayRescale, UpscalingInterpolatesAndRepeatsTheLastPixel) {
    OverlayImage out;
    ASSERT_TRUE(RescaleOverlay(Gray(2, 1, {0, 255}), 4, 1, out));
    EXPECT_EQ(Channel0(out), (std::vector<int>{0, 127, 255, 255}));
    ASSERT_TRUE(RescaleOverlay(Gray(1, 2, {0, 255}), 1, 4, out));
    EXPECT_EQ(Channel0(out), (std::vector<int>{0, 127, 255, 255}));
    // Both axes at once: the middle of four corners 0, 100, 200, 40 (bottom row first).
    ASSERT_TRUE(RescaleOverlay(Gray(2, 2, {0, 100, 200, 40}), 4, 4, out));
    EXPECT_EQ(out.pixels[(1 * 4 + 1) * 4], (0 + 100 + 200 + 40) / 4);
}

TEST(OverlayRescale, DownscalingPicksTheSourcePixelsAtTheRatio) {
    OverlayImage out;
    ASSERT_TRUE(RescaleOverlay(Gray(4, 4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33}), 2, 2, out));
    EXPECT_EQ(Channel0(out), (std::vector<int>{0, 2, 20, 22}));
}

TEST(OverlayRescale, FlatPicturesStayFlatAtOddSizes) {
    const OverlayImage source = Solid(33, 19, 10, 128, 250, 200);
    for (auto size : {std::pair<int, int>{640, 480}, {1, 1}, {7, 1}, {1280, 720}, {17, 31}}) {
        OverlayImage out;
        ASSERT_TRUE(RescaleOverlay(source, size.first, size.second, out));
        ASSERT_EQ(out.pixels.size(), static_cast<size_t>(size.first) * size.second * 4);
        EXPECT_EQ(out.pixels, Solid(size.first, size.second, 10, 128, 250, 200).pixels)
            << size.first << "x" << size.second;
    }
    OverlayImage out;
    ASSERT_TRUE(RescaleOverlay(Solid(1, 1, 1, 2, 3, 4), 33, 19, out));
    EXPECT_EQ(out.pixels, Solid(33, 19, 1, 2, 3, 4).pixels);
}

TEST(OverlayRescale, RefusesEmptyPicturesAndSizes) {
    OverlayImage out;
    EXPECT_FALSE(RescaleOverlay(OverlayImage{}, 10, 10, out));
    EXPECT_FALSE(RescaleOverlay(Solid(2, 2, 0, 0, 0, 0), 0, 10, out));
    EXPECT_FALSE(RescaleOverlay(Solid(2, 2, 0, 0, 0, 0), 10, -1, out));
    EXPECT_TRUE(out.empty());
}

}  // namespace
