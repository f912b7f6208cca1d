#include "core/rotate_kernel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A frame whose every pixel names its place, with padding bytes of their own, in a buffer of
// exactly its size so that a read or write past it fails under AddressSanitizer.
struct TestFrame {
    int width;
    int height; // rows, positive
    int stride;
    std::vector<std::uint8_t> bytes;

    TestFrame(int w, int h, int extraPadding = 0)
        : width(w), height(h), stride((w * 3 + 3) / 4 * 4 + extraPadding),
          bytes(static_cast<size_t>(stride) * h) {}

    static TestFrame Pattern(int w, int h, int extraPadding = 0) {
        TestFrame f(w, h, extraPadding);
        for (int row = 0; row < h; ++row) {
            for (int x = 0; x < f.stride; ++x)
                f.bytes[row * f.stride + x] = static_cast<std::uint8_t>(0xA0 + row * 7 + x); // padding too
            for (int x = 0; x < w; ++x) {
                std::uint8_t* p = f.Pixel(row, x);
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(x >> 8 | row << 4);
                p[2] = static_cast<std::uint8_t>(row);
            }
        }
        return f;
    }
    std::uint8_t* Pixel(int row, int x) { return bytes.data() + row * stride + x * 3; }
    const std::uint8_t* Pixel(int row, int x) const { return bytes.data() + row * stride + x * 3; }
    TestFrame Blank() const {
        TestFrame f(width, height, stride - (width * 3 + 3) / 4 * 4);
        std::memset(f.bytes.data(), 0x5C, f.bytes.size());
        return f;
    }
    TestFrame RowsReversed() const {
        TestFrame f = Blank();
        for (int row = 0; row < height; ++row)
            std::memcpy(f.bytes.data() + row * stride, bytes.data() + (height - 1 - row) * stride, stride);
        return f;
    }
};

constexpr std::uint32_t kTeal = 0x00C08040; // blue 0xC0, green 0x80, red 0x40

bool SamePixel(const TestFrame& a, int rowA, int xA, const TestFrame& b, int rowB, int xB) {
    return std::memcmp(a.Pixel(rowA, xA), b.Pixel(rowB, xB), 3) == 0;
}

bool IsBackground(const TestFrame& f, int row, int x, std::uint32_t color = kTeal) {
    const std::uint8_t* p = f.Pixel(row, x);
    return p[0] == static_cast<std::uint8_t>(color >> 16) && p[1] == static_cast<std::uint8_t>(color >> 8) &&
           p[2] == static_cast<std::uint8_t>(color);
}

TestFrame Rotated(const TestFrame& in, int angle, int method, std::uint32_t color = kTeal, bool topDown = false) {
    TestFrame out = in.Blank();
    const RotateParams params{angle, method, color};
    EXPECT_TRUE(RotateFrame(in.bytes.data(), out.bytes.data(), qel::imaging::PixelLayout{in.width, topDown ? -in.height : in.height, in.stride, 3}, params));
    return out;
}

void ExpectPaddingOfSourceRows(const TestFrame& in, const TestFrame& out) {
    const int used = in.width * 3;
    for (int row = 0; row < in.height; ++row)
        ASSERT_EQ(std::memcmp(in.bytes.data() + row * in.stride + used, out.bytes.data() + row * out.stride + used,
                              in.stride - used),
                  0)
            << "padding of row " << row;
}

} // namespace

TEST(RotateKernel, QuarterTurnCutOf640x480) {
    const TestFrame in = TestFrame::Pattern(640, 480);
    const TestFrame out = Rotated(in, 90, kRotateCut);
    for (int row : {0, 1, 240, 479}) {
        for (int x = 0; x < 80; ++x)
            ASSERT_TRUE(IsBackground(out, row, x)) << row << "," << x;
        for (int x = 560; x < 640; ++x)
            ASSERT_TRUE(IsBackground(out, row, x)) << row << "," << x;
    }
    EXPECT_TRUE(SamePixel(out, 0, 80, in, 479, 80));
    // Every covered pixel: out[i][k] = in[H-1-(k-c)][c+i] with c = 80.
    for (int i = 0; i < 480; ++i)
        for (int k = 80; k < 560; ++k)
            ASSERT_TRUE(SamePixel(out, i, k, in, 479 - (k - 80), 80 + i)) << i << "," << k;
}

TEST(RotateKernel, ThreeQuarterTurnCutOf640x480) {
    const TestFrame in = TestFrame::Pattern(640, 480);
    const TestFrame out = Rotated(in, 270, kRotateCut);
    EXPECT_TRUE(SamePixel(out, 0, 80, in, 0, 559));
    for (int i = 0; i < 480; ++i) {
        ASSERT_TRUE(IsBackground(out, i, 79));
        ASSERT_TRUE(IsBackground(out, i, 560));
        for (int k = 80; k < 560; ++k)
            ASSERT_TRUE(SamePixel(out, i, k, in, k - 80, 639 - 80 - i)) << i << "," << k;
    }
}

TEST(RotateKernel, ZoomShrinksIntoTheCentredBand) {
    const TestFrame in = TestFrame::Pattern(640, 480);
    for (int angle : {90, 270}) {
        const TestFrame out = Rotated(in, angle, kRotateZoom);
        for (int i = 0; i < 480; ++i) {
            ASSERT_TRUE(IsBackground(out, i, 139)) << angle;
            ASSERT_TRUE(IsBackground(out, i, 500)) << angle;
            ASSERT_TRUE(IsBackground(out, i, 0)) << angle;
            ASSERT_TRUE(IsBackground(out, i, 639)) << angle;
        }
        // g = 360, h = 140, m = 4/3.
        for (int i : {0, 3, 239, 479}) {
            for (int j : {140, 141, 300, 499}) {
                const int along = 480 * (j - 140) / 360, across = 480 * i / 360;
                if (angle == 90)
                    ASSERT_TRUE(SamePixel(out, i, j, in, 479 - along, across)) << i << "," << j;
                else
                    ASSERT_TRUE(SamePixel(out, i, j, in, along, 639 - across)) << i << "," << j;
            }
        }
    }
}

TEST(RotateKernel, SquareFrameTurnsWithoutBackground) {
    const TestFrame in = TestFrame::Pattern(21, 21);
    for (int method : {kRotateCut, kRotateZoom}) {
        const TestFrame out90 = Rotated(in, 90, method);
        const TestFrame out270 = Rotated(in, 270, method);
        for (int i = 0; i < 21; ++i) {
            for (int k = 0; k < 21; ++k) {
                ASSERT_TRUE(SamePixel(out90, i, k, in, 20 - k, i)) << method;
                ASSERT_TRUE(SamePixel(out270, i, k, in, k, 20 - i)) << method;
            }
        }
    }
}

TEST(RotateKernel, BackgroundBytesAreBlueGreenRed) {
    const TestFrame in = TestFrame::Pattern(64, 48);
    const TestFrame out = Rotated(in, 90, kRotateCut, 0x0000FF);
    const std::uint8_t* p = out.Pixel(5, 0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 255);
}

TEST(RotateKernel, HalfTurnAtAnOddSizeWithPaddedRows) {
    const TestFrame in = TestFrame::Pattern(33, 19, 8);
    const TestFrame out = Rotated(in, 180, kRotateCut);
    for (int i = 0; i < 19; ++i)
        for (int x = 0; x < 33; ++x)
            ASSERT_TRUE(SamePixel(out, i, x, in, 18 - i, 32 - x)) << i << "," << x;
    ExpectPaddingOfSourceRows(in, out);
}

TEST(RotateKernel, NoTurnCopiesWholeRowsIncludingPadding) {
    const TestFrame in = TestFrame::Pattern(33, 19, 5);
    const TestFrame out = Rotated(in, 0, kRotateCut);
    EXPECT_EQ(out.bytes, in.bytes);
}

TEST(RotateKernel, AnyOtherAnglePassesTheFrameThrough) {
    const TestFrame in = TestFrame::Pattern(33, 19, 4);
    for (int angle : {45, -90, 360, 91})
        EXPECT_EQ(Rotated(in, angle, kRotateCut).bytes, in.bytes) << angle;
}

TEST(RotateKernel, OddSizesStayInsideTheSource) {
    // 33x19: g = 10 does not divide 19*19, so the literal zoom would read column 34 of 33.
    for (int extra : {0, 12}) {
        const TestFrame in = TestFrame::Pattern(33, 19, extra);
        for (int angle : {90, 270}) {
            for (int method : {kRotateCut, kRotateZoom}) {
                const TestFrame out = Rotated(in, angle, method);
                ExpectPaddingOfSourceRows(in, out);
            }
        }
        const TestFrame cut = Rotated(in, 90, kRotateCut); // c = 7
        for (int i = 0; i < 19; ++i) {
            ASSERT_TRUE(IsBackground(cut, i, 6));
            ASSERT_TRUE(IsBackground(cut, i, 26));
            for (int k = 7; k < 26; ++k)
                ASSERT_TRUE(SamePixel(cut, i, k, in, 18 - (k - 7), 7 + i));
        }
        const TestFrame zoom = Rotated(in, 90, kRotateZoom); // g = 10, h = 11
        for (int i = 0; i < 19; ++i) {
            ASSERT_TRUE(IsBackground(zoom, i, 10));
            ASSERT_TRUE(IsBackground(zoom, i, 21));
            const int across = std::min(19 * i / 10, 32);
            for (int j = 11; j < 21; ++j)
                ASSERT_TRUE(SamePixel(zoom, i, j, in, 18 - 19 * (j - 11) / 10, across)) << i << "," << j;
        }
    }
}

TEST(RotateKernel, PortraitCutTurnsTheCentredSquare) {
    const TestFrame in = TestFrame::Pattern(19, 33); // c = -7: rows 7..25 hold the turned square
    for (int angle : {90, 270}) {
        const TestFrame out = Rotated(in, angle, kRotateCut);
        for (int i = 0; i < 33; ++i) {
            for (int k = 0; k < 19; ++k) {
                if (i < 7 || i >= 26)
                    ASSERT_TRUE(IsBackground(out, i, k)) << angle << ":" << i << "," << k;
                else if (angle == 90)
                    ASSERT_TRUE(SamePixel(out, i, k, in, 32 - (k + 7), i - 7)) << i << "," << k;
                else
                    ASSERT_TRUE(SamePixel(out, i, k, in, k + 7, 18 + 7 - i)) << i << "," << k;
            }
        }
        Rotated(in, angle, kRotateZoom); // must stay inside the source too
    }
}

TEST(RotateKernel, TopDownFrameTurnsTheSameWayOnScreen) {
    const TestFrame bottomUp = TestFrame::Pattern(33, 19, 4);
    const TestFrame topDown = bottomUp.RowsReversed(); // the same picture, rows the other way
    for (int angle : {90, 180, 270}) {
        for (int method : {kRotateCut, kRotateZoom}) {
            const TestFrame expected = Rotated(bottomUp, angle, method).RowsReversed();
            const TestFrame actual = Rotated(topDown, angle, method, kTeal, true);
            for (int row = 0; row < 19; ++row)
                ASSERT_EQ(std::memcmp(expected.Pixel(row, 0), actual.Pixel(row, 0), 33 * 3), 0)
                    << angle << "/" << method << " row " << row;
        }
    }
}

TEST(RotateKernel, RefusesWhatItCannotTurnAndWritesNothing) {
    const TestFrame in = TestFrame::Pattern(8, 6);
    TestFrame out = in.Blank();
    const std::vector<std::uint8_t> untouched = out.bytes;
    const RotateParams params{90, kRotateCut, kTeal};
    EXPECT_FALSE(RotateFrame(nullptr, out.bytes.data(), qel::imaging::PixelLayout{8, 6, in.stride, 3}, params));
    EXPECT_FALSE(RotateFrame(in.bytes.data(), nullptr, qel::imaging::PixelLayout{8, 6, in.stride, 3}, params));
    EXPECT_FALSE(RotateFrame(in.bytes.data(), out.bytes.data(), qel::imaging::PixelLayout{0, 6, in.stride, 3}, params));
    EXPECT_FALSE(RotateFrame(in.bytes.data(), out.bytes.data(), qel::imaging::PixelLayout{8, 0, in.stride, 3}, params));
    EXPECT_FALSE(RotateFrame(in.bytes.data(), out.bytes.data(), qel::imaging::PixelLayout{8, 6, 23, 3}, params)); // under 8 * 3
    EXPECT_EQ(out.bytes, untouched);
}

TEST(RotateKernel, ZoomOfAVeryWideFrameIsAllBackground) {
    const TestFrame in = TestFrame::Pattern(40, 3); // g = 9 / 40 = 0 columns
    const TestFrame out = Rotated(in, 90, kRotateZoom);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 40; ++k)
            ASSERT_TRUE(IsBackground(out, i, k));
}
