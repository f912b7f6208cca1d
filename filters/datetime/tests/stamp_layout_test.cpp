#include <gtest/gtest.h>

#include <climits>

#include "core/stamp_layout.h"

namespace {

StampLayout Aligned(int alignment, int padding) {
    StampLayout layout;
    layout.alignment = alignment;
    layout.paddingX = padding;
    layout.paddingY = padding;
    layout.start = {123, 45};
    return layout;
}

TEST(StampLayout, NineAlignedPlacesAt640x480) {
    const int cx = 121, cy = 14;
    struct Place {
        int alignment, x, y;
    };
    const Place places[] = {
        {1, 5, 5},                       {2, (640 - cx) / 2, 5},             {3, 640 - cx - 5, 5},
        {4, 5, (480 - cy) / 2},          {5, (640 - cx) / 2, (480 - cy) / 2}, {6, 640 - cx - 5, (480 - cy) / 2},
        {7, 5, 480 - cy - 5},            {8, (640 - cx) / 2, 480 - cy - 5},   {9, 635 - cx, 475 - cy},
    };
    for (const Place& p : places) {
        const StampPoint at = PlaceStampBox(Aligned(p.alignment, 5), 640, 480, cx, cy);
        EXPECT_EQ(at.x, p.x) << p.alignment;
        EXPECT_EQ(at.y, p.y) << p.alignment;
    }
}

TEST(StampLayout, PaddingIsTakenFromEachAxis) {
    StampLayout layout = Aligned(9, 0);
    layout.paddingX = 7;
    layout.paddingY = 2;
    const StampPoint at = PlaceStampBox(layout, 33, 19, 10, 5);
    EXPECT_EQ(at.x, 33 - 10 - 7);
    EXPECT_EQ(at.y, 19 - 5 - 2);
    const StampPoint centre = PlaceStampBox(Aligned(5, 3), 33, 19, 10, 5);
    EXPECT_EQ(centre.x, 11);
    EXPECT_EQ(centre.y, 7);
}

TEST(StampLayout, TheStartPositionAndUnknownAlignmentsKeepTheStart) {
    for (int alignment : {0, 10, -1, 100}) {
        const StampPoint at = PlaceStampBox(Aligned(alignment, 5), 640, 480, 100, 20);
        EXPECT_EQ(at.x, 123) << alignment;
        EXPECT_EQ(at.y, 45) << alignment;
    }
}

TEST(StampLayout, ANegativeStartCutsTheBoxAtTheLeftAndTop) {
    const StampClip clip = ClipStampBox({-10, -5}, 40, 12, 640, 480);
    ASSERT_TRUE(clip.visible);
    EXPECT_EQ(clip.x, 0);
    EXPECT_EQ(clip.y, 0);
    EXPECT_EQ(clip.width, 30);
    EXPECT_EQ(clip.height, 7);
    EXPECT_EQ(clip.maskX, 10);
    EXPECT_EQ(clip.maskY, 5);
}

TEST(StampLayout, BoxesPastTheRightAndBottomEdgesAreCut) {
    const StampClip clip = ClipStampBox({620, 470}, 40, 14, 640, 480);
    ASSERT_TRUE(clip.visible);
    EXPECT_EQ(clip.width, 20);
    EXPECT_EQ(clip.height, 10);
    EXPECT_EQ(clip.maskX, 0);
    EXPECT_EQ(clip.maskY, 0);
    // A box wider than the frame on both sides.
    const StampClip wide = ClipStampBox({-5, 0}, 700, 14, 640, 480);
    ASSERT_TRUE(wide.visible);
    EXPECT_EQ(wide.width, 640);
    EXPECT_EQ(wide.maskX, 5);
}

TEST(StampLayout, BoxesOutsideTheFrameAreNotPlaced) {
    EXPECT_FALSE(ClipStampBox({-40, 0}, 40, 14, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({0, -14}, 40, 14, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({640, 0}, 40, 14, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({0, 480}, 40, 14, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({0, 0}, 0, 14, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({INT_MIN, INT_MIN}, INT_MAX, INT_MAX, 640, 480).visible);
    EXPECT_FALSE(ClipStampBox({INT_MAX, INT_MAX}, INT_MAX, INT_MAX, 640, 480).visible);
    EXPECT_TRUE(ClipStampBox({-39, -13}, 40, 14, 640, 480).visible);
}

}  // namespace
