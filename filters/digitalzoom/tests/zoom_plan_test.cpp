#include <gtest/gtest.h>

#include "core/zoom_plan.h"
#include "core/zoom_steps.h"

namespace {

qel::imaging::PixelLayout Rgb24(int width, int height) {
    return qel::imaging::PixelLayout{width, height, (width * 3 + 3) / 4 * 4, 3};
}

ZoomPlan PlanFor(int percent, int width, int height) {
    const qel::imaging::PixelLayout format = Rgb24(width, height);
    return BuildZoomPlan(percent, &format);
}

TEST(ZoomSteps, IndexesAndPercentsMatchTheFiveSteps) {
    EXPECT_EQ(ZoomStepIndexForPercent(100), 0);
    EXPECT_EQ(ZoomStepIndexForPercent(250), 3);
    EXPECT_EQ(ZoomStepIndexForPercent(300), 4);
    EXPECT_EQ(ZoomStepIndexForPercent(175), -1);
    EXPECT_EQ(ZoomStepPercent(2), 200);
    EXPECT_EQ(ZoomStepPercent(5), 100);
    EXPECT_EQ(ZoomStepPercent(-1), 100);
}

TEST(ZoomPlan, OnlyTheFourStepsAboveOneScale) {
    for (int percent : {100, 175, 0, -150, 151, 400})
        EXPECT_EQ(PlanFor(percent, 640, 480).mode, ZoomMode::Copy) << percent;
    for (int percent : {150, 200, 250, 300})
        EXPECT_EQ(PlanFor(percent, 640, 480).mode, ZoomMode::Scale) << percent;
    EXPECT_EQ(PlanFor(175, 640, 480).percent, 175);
}

TEST(ZoomPlan, WithoutAUsableFormatTheFrameIsCopied) {
    EXPECT_EQ(BuildZoomPlan(200, nullptr).mode, ZoomMode::Copy);
    EXPECT_FALSE(BuildZoomPlan(200, nullptr).formatKnown);
    const qel::imaging::PixelLayout narrowStride{640, 480, 640 * 3 - 1, 3};
    EXPECT_FALSE(BuildZoomPlan(200, &narrowStride).formatKnown);
    const qel::imaging::PixelLayout noRows{640, 0, 1920, 3};
    EXPECT_FALSE(BuildZoomPlan(200, &noRows).formatKnown);
}

TEST(ZoomPlan, SourceRegionsAt640x480) {
    struct Expected {
        int percent, originX, originY, sourceWidth, sourceHeight, blocksAcross, blocksDown;
    };
    const Expected cases[] = {
        {150, 107, 80, 426, 320, 213, 160},
        {200, 160, 120, 320, 240, 320, 240},
        {250, 192, 144, 256, 192, 128, 96},
        {300, 214, 160, 213, 160, 213, 160},
    };
    for (const Expected& e : cases) {
        const ZoomPlan plan = PlanFor(e.percent, 640, 480);
        EXPECT_EQ(plan.columns.origin, e.originX) << e.percent;
        EXPECT_EQ(plan.rows.origin, e.originY) << e.percent;
        EXPECT_EQ(plan.SourceWidth(), e.sourceWidth) << e.percent;
        EXPECT_EQ(plan.SourceHeight(), e.sourceHeight) << e.percent;
        EXPECT_EQ(plan.columns.blocks, e.blocksAcross) << e.percent;
        EXPECT_EQ(plan.rows.blocks, e.blocksDown) << e.percent;
    }
}

TEST(ZoomPlan, At300The640thColumnTakesTheNextBlocksFirstColumn) {
    const ZoomPlan plan = PlanFor(300, 640, 480);
    EXPECT_EQ(plan.columns.covered, 639);
    const ZoomTap& last = plan.columns.taps[639];
    EXPECT_EQ(last.nearIndex, 214 + 213);
    EXPECT_EQ(last.farIndex, 214 + 214);
    EXPECT_EQ(last.nearWeight, 5);
    EXPECT_EQ(last.farWeight, 1);
    EXPECT_EQ(plan.rows.covered, 480);
}

TEST(ZoomPlan, BlocksRepeatTheirPatternAcrossTheFrame) {
    const ZoomPlan plan = PlanFor(250, 640, 480);
    const ZoomTap first = plan.columns.taps[0];
    EXPECT_EQ(first.nearIndex, 193);
    EXPECT_EQ(first.farIndex, 192);
    EXPECT_EQ(first.nearWeight, 1);
    EXPECT_EQ(first.farWeight, 4);
    const ZoomTap centre = plan.columns.taps[2];
    EXPECT_EQ(centre.nearIndex, 193);
    EXPECT_EQ(centre.farIndex, 193);
    EXPECT_EQ(centre.farWeight, 0);
    const ZoomTap nextBlock = plan.columns.taps[5];
    EXPECT_EQ(nextBlock.nearIndex, first.nearIndex + 2);
    EXPECT_EQ(nextBlock.farIndex, first.farIndex + 2);
}

// Every frame size either scales with taps inside the frame whose weights add up, or is too small.
TEST(ZoomPlan, SmallFramesScaleInsideTheFrameOrPassThrough) {
    for (int percent : {150, 200, 250, 300}) {
        for (int width = 1; width <= 48; ++width) {
            for (int height = 1; height <= 24; ++height) {
                const ZoomPlan plan = PlanFor(percent, width, height);
                if (plan.mode == ZoomMode::TooSmall)
                    continue;
                ASSERT_EQ(plan.mode, ZoomMode::Scale);
                const ZoomAxis* axes[2] = {&plan.columns, &plan.rows};
                const int lengths[2] = {width, height};
                for (int a = 0; a < 2; ++a) {
                    ASSERT_EQ(axes[a]->taps.size(), static_cast<size_t>(lengths[a]));
                    for (const ZoomTap& tap : axes[a]->taps) {
                        ASSERT_GE(tap.nearIndex, 0);
                        ASSERT_LT(tap.nearIndex, lengths[a]) << percent << " " << width << "x" << height;
                        ASSERT_GE(tap.farIndex, 0);
                        ASSERT_LT(tap.farIndex, lengths[a]) << percent << " " << width << "x" << height;
                        ASSERT_EQ(tap.nearWeight + tap.farWeight, axes[a]->weightSum);
                    }
                }
            }
        }
    }
}

TEST(ZoomPlan, FramesTooSmallForAStepAreMarkedSo) {
    for (int percent : {150, 200, 250, 300})
        EXPECT_EQ(PlanFor(percent, 1, 1).mode, ZoomMode::TooSmall) << percent;
    // Fewer pixels than one output block.
    EXPECT_EQ(PlanFor(250, 4, 100).mode, ZoomMode::TooSmall);
    EXPECT_EQ(PlanFor(250, 100, 4).mode, ZoomMode::TooSmall);
    // Three columns at 150: the region would start at column -1.
    EXPECT_EQ(PlanFor(150, 3, 100).mode, ZoomMode::TooSmall);
    // Three columns at 200: the left-over column would read column 3.
    EXPECT_EQ(PlanFor(200, 3, 100).mode, ZoomMode::TooSmall);
    EXPECT_EQ(PlanFor(150, 4, 100).mode, ZoomMode::Scale);
    EXPECT_EQ(PlanFor(200, 5, 5).mode, ZoomMode::Scale);
    EXPECT_TRUE(PlanFor(150, 3, 100).columns.taps.empty());
}

TEST(ZoomPlan, TopDownFramesUseTheRowCount) {
    const ZoomPlan plan = PlanFor(200, 640, -480);
    EXPECT_EQ(plan.mode, ZoomMode::Scale);
    EXPECT_EQ(plan.rows.taps.size(), 480u);
    EXPECT_EQ(plan.rows.origin, 120);
}

}  // namespace
