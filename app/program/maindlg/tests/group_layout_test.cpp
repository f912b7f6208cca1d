// Where a tile list goes in its group box: inside the frame, below the title, left of the scroll bar,
// and how far a box too small for the skin's list must grow.
#include <gtest/gtest.h>

#include <cstdlib>

#include "GroupLayout.h"

namespace {

constexpr int kTitle = 13;

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(GroupLayout, AListThatFitsIsCentredBelowTheTitleAndLeftOfTheScrollBar) {
    const RECT box = {10, 6, 331, 376};
    const int scrollLeft = 312;
    const RECT room = GroupInside(box, kTitle, scrollLeft);
    EXPECT_LE(box.top + kTitle, room.top);
    EXPECT_EQ(scrollLeft, room.right);
    const SIZE list = {200, 100};
    EXPECT_EQ(0, GrowthToHold(room, list).cx);
    EXPECT_EQ(0, GrowthToHold(room, list).cy);
    const RECT placed = PlaceListIn(room, list);
    EXPECT_TRUE(Contains(room, placed));
    EXPECT_EQ(list.cx, placed.right - placed.left);
    EXPECT_EQ(list.cy, placed.bottom - placed.top);
    EXPECT_LE(std::abs((placed.left - room.left) - (room.right - placed.right)), 1) << "centred across";
    EXPECT_LE(std::abs((placed.top - room.top) - (room.bottom - placed.bottom)), 1) << "centred down";
}

TEST(GroupLayout, ABoxGrownByTheGrowthHoldsTheListBelowItsTitle) {
    RECT box = {10, 6, 331, 376};
    int scrollLeft = 312;
    const SIZE list = {320, 400}; // wider than the room left of the scroll bar and taller than the box
    const SIZE growth = GrowthToHold(GroupInside(box, kTitle, scrollLeft), list);
    EXPECT_LT(0, growth.cx);
    EXPECT_LT(0, growth.cy);
    box.right += growth.cx;
    box.bottom += growth.cy;
    scrollLeft += growth.cx;
    const RECT room = GroupInside(box, kTitle, scrollLeft);
    EXPECT_EQ(0, GrowthToHold(room, list).cx);
    EXPECT_EQ(0, GrowthToHold(room, list).cy);
    const RECT placed = PlaceListIn(room, list);
    EXPECT_TRUE(Contains(room, placed));
    EXPECT_LE(box.top + kTitle, placed.top) << "the list covers the title";
    EXPECT_LE(placed.right, scrollLeft) << "the list runs under the scroll bar";
}

TEST(GroupLayout, AListLargerThanTheRoomStartsBelowTheTitleNotAboveIt) {
    const RECT box = {0, 0, 100, 100};
    const RECT room = GroupInside(box, kTitle, 0);
    EXPECT_EQ(100 - 2, room.right) << "an edge outside the box ends nothing";
    const RECT placed = PlaceListIn(room, {150, 150});
    EXPECT_EQ(room.left, placed.left);
    EXPECT_EQ(room.top, placed.top);
}

} // namespace
