#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "test_frame.h"
#include "core/zoom_plan.h"
#include "zoom_reference.h"
#include "core/zoom_scaler.h"

namespace {

constexpr int kScalePercents[] = {150, 200, 250, 300};

ZoomPlan PlanFor(int percent, const TestFrame& frame) {
    const qel::imaging::PixelLayout format{frame.Width(), frame.Height(), frame.Stride(), frame.PixelBytes()};
    return BuildZoomPlan(percent, &format);
}

// Compares the pixels only: the padding at the end of each row is not part of the picture.
void ExpectSamePixels(const TestFrame& actual, const TestFrame& expected, const char* what) {
    const int rowBytes = actual.Width() * actual.PixelBytes();
    for (int row = 0; row < actual.Lines(); ++row) {
        if (std::memcmp(actual.At(0, row), expected.At(0, row), static_cast<size_t>(rowBytes)) != 0) {
            ADD_FAILURE() << what << ": row " << row << " differs";
            return;
        }
    }
}

void ExpectMatchesReference(int percent, int width, int height, int padding) {
    TestFrame src = TestFrame::DataPadded(width, height, padding);
    src.FillRandom(static_cast<unsigned>(width * 7919 + height * 31 + percent));
    TestFrame dst = TestFrame::DataPadded(width, height, padding);
    TestFrame expected = TestFrame::DataPadded(width, height, padding);
    const ZoomPlan plan = PlanFor(percent, src);
    ASSERT_EQ(plan.mode, ZoomMode::Scale) << percent << " at " << width << "x" << height;

    ASSERT_TRUE(ScaleZoomFrame(src.Data(), dst.Data(),
                               qel::imaging::PixelLayout{width, height, src.Stride(), 3}, plan.columns,
                               plan.rows));
    zoomtest::ReferenceZoom(src.Data(), expected.Data(), width, height, src.Stride(), 3, percent,
                            plan.columns.origin, plan.rows.origin);
    ExpectSamePixels(dst, expected, "scaled frame");
    EXPECT_TRUE(dst.GuardsIntact());
    EXPECT_TRUE(src.GuardsIntact());
}

TEST(ZoomScaler, MatchesTheReferenceAtCommonAndOddSizes) {
    for (int percent : kScalePercents) {
        SCOPED_TRACE(percent);
        ExpectMatchesReference(percent, 33, 19, 0);
        ExpectMatchesReference(percent, 640, 480, 0);
        ExpectMatchesReference(percent, 1280, 720, 0);
        ExpectMatchesReference(percent, 641, 481, 0);
        ExpectMatchesReference(percent, 639, 479, 0);
    }
}

TEST(ZoomScaler, MatchesTheReferenceWithPaddedRowsAndTopDownFrames) {
    for (int percent : kScalePercents) {
        SCOPED_TRACE(percent);
        ExpectMatchesReference(percent, 33, 19, 8);
        ExpectMatchesReference(percent, 33, -19, 0);
        ExpectMatchesReference(percent, 320, -240, 12);
    }
}

TEST(ZoomScaler, MatchesTheReferenceForEveryScalableSmallSize) {
    for (int percent : kScalePercents) {
        for (int width = 1; width <= 40; ++width) {
            for (int height = 1; height <= 12; ++height) {
                const qel::imaging::PixelLayout format{width, height, (width * 3 + 3) / 4 * 4, 3};
                if (BuildZoomPlan(percent, &format).mode != ZoomMode::Scale)
                    continue;
                ExpectMatchesReference(percent, width, height, 0);
                if (HasFatalFailure() || HasNonfatalFailure())
                    return;
            }
        }
    }
}

// The weights of every output add up to the divisor, so a flat picture stays flat at every step.
TEST(ZoomScaler, ConstantFramesStayConstant) {
    for (int percent : kScalePercents) {
        for (int size : {5, 33, 97, 640}) {
            TestFrame src = TestFrame::DataPadded(size, size < 8 ? size : size * 3 / 4 + 1, 4);
            for (int row = 0; row < src.Lines(); ++row)
                for (int x = 0; x < src.Width(); ++x) {
                    uint8_t* pixel = src.At(x, row);
                    pixel[0] = 17;
                    pixel[1] = 128;
                    pixel[2] = 255;
                }
            TestFrame dst = TestFrame::DataPadded(src.Width(), src.Height(), 4);
            const ZoomPlan plan = PlanFor(percent, src);
            ASSERT_EQ(plan.mode, ZoomMode::Scale);
            ASSERT_TRUE(ScaleZoomFrame(src.Data(), dst.Data(),
                                       qel::imaging::PixelLayout{src.Width(), src.Height(), src.Stride(), 3},
                                       plan.columns, plan.rows));
            for (int row = 0; row < dst.Lines(); ++row)
                for (int x = 0; x < dst.Width(); ++x) {
                    const uint8_t* pixel = dst.At(x, row);
                    ASSERT_EQ(pixel[0], 17) << percent << " at " << x << "," << row;
                    ASSERT_EQ(pixel[1], 128);
                    ASSERT_EQ(pixel[2], 255);
                }
        }
    }
}

// The block formulas written out for one block: each output from the four source pixels around it.
TEST(ZoomScaler, BlockFormulasAt200And150) {
    TestFrame src = TestFrame::DataPadded(12, 12);
    src.FillRandom(7);
    TestFrame dst = TestFrame::DataPadded(12, 12);

    const ZoomPlan zoom200 = PlanFor(200, src);
    ASSERT_TRUE(ScaleZoomFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{12, 12, src.Stride(), 3},
                               zoom200.columns, zoom200.rows));
    const int x0 = zoom200.columns.origin;
    const int y0 = zoom200.rows.origin;
    for (int c = 0; c < 3; ++c) {
        const int p = src.At(x0, y0)[c], right = src.At(x0 + 1, y0)[c];
        const int down = src.At(x0, y0 + 1)[c], downRight = src.At(x0 + 1, y0 + 1)[c];
        EXPECT_EQ(dst.At(0, 0)[c], (9 * p + 3 * right + 3 * down + downRight) >> 4);
        EXPECT_EQ(dst.At(1, 1)[c], (p + 3 * right + 3 * down + 9 * downRight) >> 4);
    }

    const ZoomPlan zoom150 = PlanFor(150, src);
    ASSERT_TRUE(ScaleZoomFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{12, 12, src.Stride(), 3},
                               zoom150.columns, zoom150.rows));
    const int vx = zoom150.columns.origin + 1;
    const int vy = zoom150.rows.origin + 1;
    for (int c = 0; c < 3; ++c) {
        const int v = src.At(vx, vy)[c], left = src.At(vx - 1, vy)[c];
        const int up = src.At(vx, vy - 1)[c], upLeft = src.At(vx - 1, vy - 1)[c];
        EXPECT_EQ(dst.At(1, 1)[c], v);
        EXPECT_EQ(dst.At(0, 0)[c], (v + 2 * left + 2 * up + 4 * upLeft) / 9);
    }
}

TEST(ZoomScaler, RefusesTablesOfAnotherSizeWithoutWriting) {
    TestFrame src = TestFrame::DataPadded(64, 48);
    src.FillRandom(3);
    TestFrame dst = TestFrame::DataPadded(32, 24);
    dst.FillBytes(0x5A);
    const ZoomPlan plan = PlanFor(200, src);
    EXPECT_FALSE(ScaleZoomFrame(src.Data(), dst.Data(), qel::imaging::PixelLayout{32, 24, dst.Stride(), 3},
                                plan.columns, plan.rows));
    for (size_t i = 0; i < dst.Bytes(); ++i)
        ASSERT_EQ(dst.Data()[i], 0x5A);
    EXPECT_FALSE(ScaleZoomFrame(nullptr, dst.Data(), qel::imaging::PixelLayout{64, 48, src.Stride(), 3},
                                plan.columns, plan.rows));
}

}  // namespace
