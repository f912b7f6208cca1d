// The camera's pattern: drawn as predicted at every pixel, in both orientations and with padded rows,
// and its frame number read back, also from a damaged or rescaled copy.
#include "test_frame_pattern.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using qelcam::Bgr;

struct Frame {
    Frame(int w, int h, ptrdiff_t rowBytes) : width(w), height(h), stride(rowBytes), bytes(rowBytes * std::abs(h) + 16, 0xCD) {}
    uint8_t* Data() { return bytes.data(); }
    Bgr At(int x, int y) const {
        const int rows = std::abs(height);
        const uint8_t* p = bytes.data() + (height > 0 ? rows - 1 - y : y) * stride + 3 * x;
        return {p[0], p[1], p[2]};
    }
    int width, height;
    ptrdiff_t stride;
    std::vector<uint8_t> bytes;
};

void ExpectMatchesPrediction(Frame& frame, uint32_t number) {
    ASSERT_TRUE(qelcam::DrawTestFrame(frame.Data(), frame.width, frame.height, frame.stride, number));
    const int rows = std::abs(frame.height);
    int mismatches = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.At(x, y) != qelcam::ExpectedPixel(x, y, frame.width, frame.height, number))
                ++mismatches;
    EXPECT_EQ(0, mismatches) << frame.width << "x" << frame.height << " stride " << frame.stride;
    // Row padding and the bytes after the frame stay untouched.
    for (int y = 0; y < rows; ++y)
        for (ptrdiff_t b = frame.width * 3; b < frame.stride; ++b)
            ASSERT_EQ(0xCD, frame.bytes[y * frame.stride + b]);
    EXPECT_EQ(0xCD, frame.bytes[rows * frame.stride]);
}

TEST(TestFramePattern, DrawsThePredictedPixelsAtOddSizesPaddedRowsAndBothOrientations) {
    for (const int height : {19, -19, 1, -240}) {
        for (const int width : {41, 43, 320}) {
            Frame packed(width, height, width * 3);
            ExpectMatchesPrediction(packed, 77);
            Frame dib(width, height, qelcam::Rgb24Stride(width));
            ExpectMatchesPrediction(dib, 0xFFFFFFFFu);
            Frame padded(width, height, width * 3 + 13);
            ExpectMatchesPrediction(padded, 5);
        }
    }
}

TEST(TestFramePattern, OrientationDecidesWhichMemoryRowIsTheTop) {
    Frame bottomUp(320, 240, qelcam::Rgb24Stride(320));
    Frame topDown(320, -240, qelcam::Rgb24Stride(320));
    qelcam::DrawTestFrame(bottomUp.Data(), 320, 240, bottomUp.stride, 9);
    qelcam::DrawTestFrame(topDown.Data(), 320, -240, topDown.stride, 9);
    for (int y = 0; y < 240; ++y)
        ASSERT_EQ(0, memcmp(&bottomUp.bytes[(239 - y) * bottomUp.stride], &topDown.bytes[y * topDown.stride], 960));
    uint32_t number = 0;
    EXPECT_TRUE(qelcam::ReadFrameNumber(topDown.Data(), 320, -240, topDown.stride, &number));
    EXPECT_FALSE(qelcam::ReadFrameNumber(topDown.Data(), 320, 240, topDown.stride, &number))
        << "read the wrong way up, the band is at the bottom";
}

TEST(TestFramePattern, ConsecutiveFramesDifferAndReadBackTheirNumbers) {
    Frame a(640, 480, qelcam::Rgb24Stride(640)), b(640, 480, qelcam::Rgb24Stride(640));
    for (const uint32_t number : {0u, 1u, 2u, 1000u, 0x80000000u, 0xFFFFFFFEu}) {
        qelcam::DrawTestFrame(a.Data(), 640, 480, a.stride, number);
        qelcam::DrawTestFrame(b.Data(), 640, 480, b.stride, number + 1);
        EXPECT_NE(a.bytes, b.bytes);
        uint32_t read = 0;
        ASSERT_TRUE(qelcam::ReadFrameNumber(a.Data(), 640, 480, a.stride, &read));
        EXPECT_EQ(number, read);
    }
}

TEST(TestFramePattern, SurvivesColourShiftsAndHalvingButNotADamagedBand) {
    Frame frame(640, 480, qelcam::Rgb24Stride(640));
    qelcam::DrawTestFrame(frame.Data(), 640, 480, frame.stride, 123456);
    Frame shifted = frame;
    for (auto& byte : shifted.bytes)
        byte = static_cast<uint8_t>(byte > 128 ? byte - 60 : byte + 60);
    uint32_t read = 0;
    EXPECT_TRUE(qelcam::ReadFrameNumber(shifted.Data(), 640, 480, shifted.stride, &read));
    EXPECT_EQ(123456u, read);

    Frame half(320, 240, qelcam::Rgb24Stride(320));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            memcpy(&half.bytes[y * half.stride + 3 * x], &frame.bytes[2 * y * frame.stride + 6 * x], 3);
    read = 0;
    EXPECT_TRUE(qelcam::ReadFrameNumber(half.Data(), 320, 240, half.stride, &read));
    EXPECT_EQ(123456u, read);

    // Flip one bit cell of the band (top rows are the last in memory).
    Frame damaged = frame;
    const int cellHeight = qelcam::CodeCellHeight(480);
    for (int y = 0; y < cellHeight; ++y)
        for (int x = 0; x < qelcam::CodeCellWidth(640); ++x)
            for (int c = 0; c < 3; ++c)
                damaged.bytes[(479 - y) * damaged.stride + 3 * (5 * 16 + x) + c] ^= 0xFF;
    EXPECT_FALSE(qelcam::ReadFrameNumber(damaged.Data(), 640, 480, damaged.stride, &read));

    std::vector<uint8_t> black(frame.bytes.size(), 0), white(frame.bytes.size(), 255);
    EXPECT_FALSE(qelcam::ReadFrameNumber(black.data(), 640, 480, frame.stride, &read));
    EXPECT_FALSE(qelcam::ReadFrameNumber(white.data(), 640, 480, frame.stride, &read));
}

TEST(TestFramePattern, RefusesSizesItCannotDraw) {
    std::vector<uint8_t> buffer(4096, 0xCD);
    uint32_t read = 0;
    EXPECT_FALSE(qelcam::DrawTestFrame(buffer.data(), qelcam::kCodeCells - 1, 10, 200, 1));
    EXPECT_FALSE(qelcam::DrawTestFrame(buffer.data(), 64, 0, 200, 1));
    EXPECT_FALSE(qelcam::DrawTestFrame(buffer.data(), 64, 10, 64 * 3 - 1, 1));
    EXPECT_FALSE(qelcam::DrawTestFrame(nullptr, 64, 10, 192, 1));
    EXPECT_FALSE(qelcam::ReadFrameNumber(buffer.data(), 64, 10, 192, nullptr));
    EXPECT_FALSE(qelcam::ReadFrameNumber(buffer.data(), 30, 10, 192, &read));
    EXPECT_EQ(std::vector<uint8_t>(4096, 0xCD), buffer);
}

}  // namespace
