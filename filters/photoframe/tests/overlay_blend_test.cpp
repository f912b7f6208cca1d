#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "test_frame.h"
#include "core/overlay_blend.h"

namespace {

OverlayImage Overlay(int width, int height) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    return image;
}

uint8_t* OverlayPixel(OverlayImage& image, int x, int rowFromBottom) {
    return &image.pixels[(static_cast<size_t>(rowFromBottom) * image.width + x) * 4];
}

TEST(OverlayBlend, AlphaZeroKeepsTheVideoAlpha255TakesTheFrameAndHalfwayMixes) {
    TestFrame src = TestFrame::DataPadded(3, 1);
    for (int x = 0; x < 3; ++x)
        std::memset(src.At(x, 0), 0, 3);
    src.At(0, 0)[0] = 77;
    OverlayImage overlay = Overlay(3, 1);
    const uint8_t transparent[4] = {255, 255, 255, 0};
    const uint8_t opaque[4] = {10, 20, 30, 255};
    const uint8_t half[4] = {255, 255, 255, 128};
    std::memcpy(OverlayPixel(overlay, 0, 0), transparent, 4);
    std::memcpy(OverlayPixel(overlay, 1, 0), opaque, 4);
    std::memcpy(OverlayPixel(overlay, 2, 0), half, 4);
    TestFrame dst = TestFrame::DataPadded(3, 1);

    ASSERT_TRUE(
        BlendOverlayFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{3, 1, src.Stride(), 3}, overlay));
    EXPECT_EQ(dst.At(0, 0)[0], 77);
    EXPECT_EQ(dst.At(0, 0)[1], 0);
    EXPECT_EQ(dst.At(1, 0)[0], 10);
    EXPECT_EQ(dst.At(1, 0)[1], 20);
    EXPECT_EQ(dst.At(1, 0)[2], 30);
    EXPECT_EQ(dst.At(2, 0)[0], 128);
    EXPECT_EQ(dst.At(2, 0)[2], 128);
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(OverlayBlend, PartialAlphaMixesByTheIntegerFormula) {
    TestFrame src = TestFrame::DataPadded(1, 1);
    TestFrame dst = TestFrame::DataPadded(1, 1);
    OverlayImage overlay = Overlay(1, 1);
    for (int alpha : {1, 64, 127, 200, 254}) {
        src.At(0, 0)[0] = 200;
        src.At(0, 0)[1] = 13;
        src.At(0, 0)[2] = 90;
        const uint8_t pixel[4] = {50, 240, 90, static_cast<uint8_t>(alpha)};
        std::memcpy(OverlayPixel(overlay, 0, 0), pixel, 4);
        ASSERT_TRUE(BlendOverlayFrame(src.Data(), dst.Data(),
                                      qel::imaging::PixelLayout{1, 1, src.Stride(), 3}, overlay));
        EXPECT_EQ(dst.At(0, 0)[0], (200 * (255 - alpha) + 50 * alpha) / 255) << alpha;
        EXPECT_EQ(dst.At(0, 0)[1], (13 * (255 - alpha) + 240 * alpha) / 255) << alpha;
        EXPECT_EQ(dst.At(0, 0)[2], 90) << alpha;
    }
}

TEST(OverlayBlend, EveryAlphaOverRandomVideoMatchesTheFormulaAtWidthsAroundTheWideGroups) {
    // Widths below one group of eight, around its ends and a camera's: pixel x of row r has alpha
    // (x + 37 r) mod 256, so every alpha meets many video values and both shortcuts (0 and 255) occur.
    for (int width : {1, 3, 8, 10, 11, 12, 19, 20, 27, 64, 257, 640}) {
        SCOPED_TRACE(width);
        const int rows = 7;
        TestFrame src = TestFrame::DataPadded(width, rows);
        src.FillRandom(static_cast<uint32_t>(width));
        OverlayImage overlay = Overlay(width, rows);
        uint32_t state = 99;
        for (int row = 0; row < rows; ++row)
            for (int x = 0; x < width; ++x) {
                uint8_t* pixel = OverlayPixel(overlay, x, row);
                for (int c = 0; c < 3; ++c) {
                    state = state * 1664525u + 1013904223u;
                    pixel[c] = static_cast<uint8_t>(state >> 24);
                }
                pixel[3] = static_cast<uint8_t>((x + 37 * row) % 256);
            }
        TestFrame dst = TestFrame::DataPadded(width, rows);
        ASSERT_TRUE(BlendOverlayFrame(src.Data(), dst.Data(), src.Layout(), overlay));
        for (int row = 0; row < rows; ++row)
            for (int x = 0; x < width; ++x) {
                const uint8_t* frame = OverlayPixel(overlay, x, row);
                const int alpha = frame[3];
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(dst.At(x, row)[c], (src.At(x, row)[c] * (255 - alpha) + frame[c] * alpha) / 255)
                        << x << "," << row << " alpha " << alpha;
            }
        EXPECT_TRUE(dst.GuardsIntact());
        ASSERT_TRUE(BlendOverlayFrame(src.Data(), src.Data(), src.Layout(), overlay));
        for (int row = 0; row < rows; ++row)
            ASSERT_TRUE(std::equal(dst.At(0, row), dst.At(width, row), src.At(0, row))) << "in place";
    }
}

// Each overlay row carries its row number from the bottom; the video must receive it upright.
void ExpectUprightAt(int width, int height, int padding) {
    TestFrame src = TestFrame::DataPadded(width, height, padding);
    src.FillRandom(5);
    TestFrame dst = TestFrame::DataPadded(width, height, padding);
    const int rows = std::abs(height);
    OverlayImage overlay = Overlay(width, rows);
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = OverlayPixel(overlay, x, row);
            pixel[0] = static_cast<uint8_t>(row);
            pixel[1] = static_cast<uint8_t>(x);
            pixel[2] = 0;
            pixel[3] = 255;
        }
    ASSERT_TRUE(BlendOverlayFrame(src.Data(), dst.Data(),
                                  qel::imaging::PixelLayout{width, height, src.Stride(), 3}, overlay));
    for (int y = 0; y < rows; ++y)  // y counts from the top of the picture
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(dst.FromTop(x, y)[0], rows - 1 - y) << width << "x" << height << " at " << x << "," << y;
            ASSERT_EQ(dst.FromTop(x, y)[1], x);
        }
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(OverlayBlend, TheOverlayStaysUprightInBothOrientationsWithPaddedRows) {
    ExpectUprightAt(33, 19, 0);
    ExpectUprightAt(33, -19, 0);
    ExpectUprightAt(33, 19, 8);
    ExpectUprightAt(1, -1, 0);
    ExpectUprightAt(64, -48, 4);
}

TEST(OverlayBlend, BlendsInPlace) {
    TestFrame frame = TestFrame::DataPadded(5, 2);
    frame.FillBytes(100);
    OverlayImage overlay = Overlay(5, 2);
    for (size_t i = 0; i < overlay.pixels.size(); i += 4) {
        overlay.pixels[i] = 200;
        overlay.pixels[i + 3] = 51;
    }
    ASSERT_TRUE(BlendOverlayFrame(frame.Data(), frame.Data(),
                                  qel::imaging::PixelLayout{5, 2, frame.Stride(), 3}, overlay));
    EXPECT_EQ(frame.At(4, 1)[0], (100 * 204 + 200 * 51) / 255);
    EXPECT_EQ(frame.At(4, 1)[1], (100 * 204) / 255);
}

TEST(OverlayBlend, RefusesAnOverlayOfAnotherSizeWithoutWriting) {
    TestFrame src = TestFrame::DataPadded(33, 19);
    src.FillRandom(1);
    TestFrame dst = TestFrame::DataPadded(33, 19);
    dst.FillBytes(0x3C);
    EXPECT_FALSE(BlendOverlayFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{33, 19, src.Stride(), 3},
                                   Overlay(32, 19)));
    EXPECT_FALSE(BlendOverlayFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{33, 19, src.Stride(), 3},
                                   Overlay(33, 20)));
    EXPECT_FALSE(BlendOverlayFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{33, 19, src.Stride(), 3},
                                   OverlayImage{}));
    EXPECT_FALSE(BlendOverlayFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{33, 19, 33 * 3 - 1, 3},
                                   Overlay(33, 19)));
    for (size_t i = 0; i < dst.Bytes(); ++i)
        ASSERT_EQ(dst.Data()[i], 0x3C);
}

}  // namespace
