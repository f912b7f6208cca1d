#include "core/rotate_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "test_frame.h"

namespace {

// A frame whose every pixel names its place, with padding bytes of their own (the padding is data, so
// that the kernel's copy of it shows).
TestFrame Pattern(int w, int h, int extraPadding = 0) {
    TestFrame f = TestFrame::DataPadded(w, h, extraPadding);
    for (int row = 0; row < h; ++row) {
        for (int x = 0; x < f.Stride(); ++x)
            f.Data()[row * f.Stride() + x] = static_cast<std::uint8_t>(0xA0 + row * 7 + x); // padding too
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = f.At(x, row);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(x >> 8 | row << 4);
            p[2] = static_cast<std::uint8_t>(row);
        }
    }
    return f;
}

// The same rows, padding and all, in the other order and the other orientation: the same picture.
TestFrame RowsReversed(const TestFrame& f) {
    TestFrame reversed = TestFrame::WithStride(f.Width(), -f.Height(), f.Stride(), TestFrame::Padding::Data);
    for (int row = 0; row < f.Lines(); ++row)
        std::memcpy(reversed.At(0, row), f.At(0, f.Lines() - 1 - row), static_cast<size_t>(f.Stride()));
    return reversed;
}

// Every byte of the two frames' buffers, padding included, is the same.
bool SameBytes(const TestFrame& a, const TestFrame& b) {
    return a.Bytes() == b.Bytes() && std::memcmp(a.Data(), b.Data(), a.Bytes()) == 0;
}

constexpr std::uint32_t kTeal = 0x00C08040; // blue 0xC0, green 0x80, red 0x40

bool SamePixel(const TestFrame& a, int rowA, int xA, const TestFrame& b, int rowB, int xB) {
    return std::memcmp(a.At(xA, rowA), b.At(xB, rowB), 3) == 0;
}

bool IsBackground(const TestFrame& f, int row, int x, std::uint32_t color = kTeal) {
    const std::uint8_t* p = f.At(x, row);
    return p[0] == static_cast<std::uint8_t>(color >> 16) && p[1] == static_cast<std::uint8_t>(color >> 8) &&
           p[2] == static_cast<std::uint8_t>(color);
}

TestFrame Rotated(const TestFrame& in, int angle, int method, std::uint32_t color = kTeal) {
    // The kernel copies each row's padding from the source: here the padding is data.
    TestFrame out = TestFrame::WithStride(in.Width(), in.Height(), in.Stride(), TestFrame::Padding::Data);
    const RotateParams params{angle, method, color};
    EXPECT_TRUE(RotateFrame(in.Data(), out.Data(), in.Layout(), params));
    EXPECT_TRUE(out.GuardsIntact() && in.GuardsIntact());
    return out;
}

void ExpectPaddingOfSourceRows(const TestFrame& in, const TestFrame& out) {
    const int used = in.Width() * 3;
    for (int row = 0; row < in.Lines(); ++row)
        ASSERT_EQ(std::memcmp(in.At(in.Width(), row), out.At(out.Width(), row), in.Stride() - used), 0)
            << "padding of row " << row;
}

} // namespace

TEST(RotateKernel, QuarterTurnCutOf640x480) {
    const TestFrame in = Pattern(640, 480);
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
    const TestFrame in = Pattern(640, 480);
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
    const TestFrame in = Pattern(640, 480);
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
    const TestFrame in = Pattern(21, 21);
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
    const TestFrame in = Pattern(64, 48);
    const TestFrame out = Rotated(in, 90, kRotateCut, 0x0000FF);
    const std::uint8_t* p = out.At(0, 5);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 255);
}

TEST(RotateKernel, HalfTurnAtAnOddSizeWithPaddedRows) {
    const TestFrame in = Pattern(33, 19, 8);
    const TestFrame out = Rotated(in, 180, kRotateCut);
    for (int i = 0; i < 19; ++i)
        for (int x = 0; x < 33; ++x)
            ASSERT_TRUE(SamePixel(out, i, x, in, 18 - i, 32 - x)) << i << "," << x;
    ExpectPaddingOfSourceRows(in, out);
}

TEST(RotateKernel, NoTurnCopiesWholeRowsIncludingPadding) {
    const TestFrame in = Pattern(33, 19, 5);
    const TestFrame out = Rotated(in, 0, kRotateCut);
    EXPECT_TRUE(SameBytes(out, in));
}

TEST(RotateKernel, AnyOtherAnglePassesTheFrameThrough) {
    const TestFrame in = Pattern(33, 19, 4);
    for (int angle : {45, -90, 360, 91})
        EXPECT_TRUE(SameBytes(Rotated(in, angle, kRotateCut), in)) << angle;
}

TEST(RotateKernel, OddSizesStayInsideTheSource) {
    // 33x19: g = 10 does not divide 19*19, so the literal zoom would read column 34 of 33.
    for (int extra : {0, 12}) {
        const TestFrame in = Pattern(33, 19, extra);
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

TEST(RotateKernel, ZoomTakesEveryBandPixelFromTheQuotientFormulaAtAnySize) {
    // Landscape with and without an even band, a camera's size, a square, portrait, and a band of one
    // column: every output pixel against the formula, in both turns.
    const int sizes[][2] = {{33, 19}, {40, 30}, {1280, 720}, {17, 17}, {19, 33}, {40, 7}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const TestFrame in = Pattern(w, h, 3);
        const std::int64_t band = std::int64_t{h} * h / w, bandStart = (w - band) / 2;
        for (int angle : {90, 270}) {
            const TestFrame out = Rotated(in, angle, kRotateZoom);
            ExpectPaddingOfSourceRows(in, out);
            for (int i = 0; i < h; ++i) {
                const std::int64_t across = std::min<std::int64_t>(std::int64_t{h} * i / band, w - 1);
                for (int j = 0; j < w; ++j) {
                    if (j < bandStart || j >= bandStart + band) {
                        ASSERT_TRUE(IsBackground(out, i, j)) << w << "x" << h << " " << angle << " at " << i << "," << j;
                        continue;
                    }
                    const int along = static_cast<int>(std::min<std::int64_t>(std::int64_t{h} * (j - bandStart) / band, h - 1));
                    const bool same = angle == 90 ? SamePixel(out, i, j, in, h - 1 - along, static_cast<int>(across))
                                                  : SamePixel(out, i, j, in, along, w - 1 - static_cast<int>(across));
                    ASSERT_TRUE(same) << w << "x" << h << " " << angle << " at " << i << "," << j;
                }
            }
        }
    }
}

TEST(RotateKernel, PortraitCutTurnsTheCentredSquare) {
    const TestFrame in = Pattern(19, 33); // c = -7: rows 7..25 hold the turned square
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
    const TestFrame bottomUp = Pattern(33, 19, 4);
    const TestFrame topDown = RowsReversed(bottomUp); // the same picture, rows the other way
    for (int angle : {90, 180, 270}) {
        for (int method : {kRotateCut, kRotateZoom}) {
            const TestFrame expected = RowsReversed(Rotated(bottomUp, angle, method));
            const TestFrame actual = Rotated(topDown, angle, method);
            for (int row = 0; row < 19; ++row)
                ASSERT_EQ(std::memcmp(expected.At(0, row), actual.At(0, row), 33 * 3), 0)
                    << angle << "/" << method << " row " << row;
        }
    }
}

TEST(RotateKernel, RefusesWhatItCannotTurnAndWritesNothing) {
    const TestFrame in = Pattern(8, 6);
    TestFrame out = in.Blank();
    const TestFrame untouched = out;
    const RotateParams params{90, kRotateCut, kTeal};
    EXPECT_FALSE(RotateFrame(nullptr, out.Data(), qel::imaging::PixelLayout{8, 6, in.Stride(), 3}, params));
    EXPECT_FALSE(RotateFrame(in.Data(), nullptr, qel::imaging::PixelLayout{8, 6, in.Stride(), 3}, params));
    EXPECT_FALSE(RotateFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{0, 6, in.Stride(), 3}, params));
    EXPECT_FALSE(RotateFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{8, 0, in.Stride(), 3}, params));
    EXPECT_FALSE(
        RotateFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{8, 6, 23, 3}, params)); // under 8 * 3
    EXPECT_TRUE(SameBytes(out, untouched));
}

TEST(RotateKernel, ZoomOfAVeryWideFrameIsAllBackground) {
    const TestFrame in = Pattern(40, 3); // g = 9 / 40 = 0 columns
    const TestFrame out = Rotated(in, 90, kRotateZoom);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 40; ++k)
            ASSERT_TRUE(IsBackground(out, i, k));
}
