// Tab frames and preview thumbnail sizes.
#include "TabLook.h"
#include "ThumbnailFit.h"

#include <gtest/gtest.h>

using namespace qel_controls;

TEST(TabLook, SelectedTabKeepsFrameZeroWhetherHoveredOrPressed) {
    ButtonState s;
    s.checked = true;
    EXPECT_EQ(0, TabFrameIndex(s));
    s.hover = true;
    EXPECT_EQ(0, TabFrameIndex(s));
    s.selected = true;
    EXPECT_EQ(0, TabFrameIndex(s));
}

TEST(TabLook, UnselectedTabShowsOneOrTwoUnderHoverAndAPressAloneSelectsNothing) {
    ButtonState s;
    EXPECT_EQ(1, TabFrameIndex(s));
    s.selected = true;
    EXPECT_EQ(1, TabFrameIndex(s));
    s.hover = true;
    EXPECT_EQ(2, TabFrameIndex(s));
}

TEST(TabLook, DisabledTabsShowThreeOrFourUnlessTheDisableLookIsUsed) {
    ButtonState s;
    s.enabled = false;
    s.hover = true;
    EXPECT_EQ(4, TabFrameIndex(s));
    s.checked = true;
    EXPECT_EQ(3, TabFrameIndex(s));
    s.useDisableLook = true;
    s.disableLook = 1;
    EXPECT_EQ(1, TabFrameIndex(s));
}

TEST(ThumbnailFit, LargePicturesShrinkToTheBoxKeepingProportions) {
    FitSize fit;
    ASSERT_TRUE(ThumbnailFit(1000, 500, 128, 128, fit));
    EXPECT_EQ(128, fit.width);
    EXPECT_EQ(64, fit.height);
    ASSERT_TRUE(ThumbnailFit(500, 1000, 128, 128, fit));
    EXPECT_EQ(64, fit.width);
    EXPECT_EQ(128, fit.height);
}

TEST(ThumbnailFit, SmallPicturesKeepTheirSizeAndOneTouchingTheBoxShrinks) {
    FitSize fit;
    ASSERT_TRUE(ThumbnailFit(100, 50, 128, 128, fit));
    EXPECT_EQ(100, fit.width);
    EXPECT_EQ(50, fit.height);
    ASSERT_TRUE(ThumbnailFit(128, 64, 128, 128, fit));
    EXPECT_EQ(128, fit.width);
    EXPECT_EQ(64, fit.height);
}

TEST(ThumbnailFit, PicturesOrBoxesWithoutAreaHaveNoSize) {
    FitSize fit{7, 7};
    EXPECT_FALSE(ThumbnailFit(0, 50, 128, 128, fit));
    EXPECT_FALSE(ThumbnailFit(100, 0, 128, 128, fit));
    EXPECT_FALSE(ThumbnailFit(100, 50, 0, 128, fit));
    EXPECT_EQ(7, fit.width);
}
