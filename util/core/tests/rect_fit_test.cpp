#include "RectFit.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace qel::geometry {

bool operator==(const Rect32& a, const Rect32& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
bool operator==(const Point32& a, const Point32& b) { return a.x == b.x && a.y == b.y; }
void PrintTo(const Rect32& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const Point32& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

TEST(AlignRect, NegativeEdgesCountBackFromTheContainersFarEdges) {
    const Rect32 container{0, 0, 200, 100};
    EXPECT_EQ((Rect32{170, 10, 190, 30}), AlignRect(container, {-30, 10, -10, 30}));
    EXPECT_EQ((Rect32{10, 80, 200, 95}), AlignRect(container, {10, -20, 0, -5}));
    EXPECT_EQ((Rect32{5, 6, 25, 36}), AlignRect(container, {5, 6, 25, 36}));
}

TEST(AlignRect, OnlyTheContainersRightAndBottomCount) {
    EXPECT_EQ((Rect32{190, 90, 200, 100}), AlignRect({150, 50, 200, 100}, {-10, -10, 0, 0}));
}

TEST(AlignRect, ZeroSizesAndExtremesGiveClampedRectangles) {
    EXPECT_EQ((Rect32{0, 0, 0, 0}), AlignRect({0, 0, 0, 0}, {0, 0, 0, 0}));
    EXPECT_EQ((Rect32{INT32_MAX - 10, 0, INT32_MAX, 5}),
              AlignRect({0, 0, INT32_MAX, INT32_MAX}, {-10, 0, INT32_MAX, 5}));
    EXPECT_EQ((Rect32{INT32_MIN, 0, INT32_MIN, 0}),
              AlignRect({0, 0, INT32_MIN, 0}, {-10, 0, -10, 0}));
}

struct CopyResult {
    Rect32 source;
    Rect32 destination;
};

CopyResult ClipCopy(Rect32 source, Rect32 destination, Point32 position, const Rect32* clip = nullptr) {
    ClipCopyRect(&source, &destination, position, clip ? *clip : source);
    return {source, destination};
}

TEST(ClipCopyRect, WhatPassesTheDestinationIsCutAndTheDestinationIsOnePixelShort) {
    const CopyResult r = ClipCopy({0, 0, 100, 50}, {0, 0, 40, 30}, {10, 5});
    EXPECT_EQ((Rect32{0, 0, 29, 24}), r.source);
    EXPECT_EQ((Rect32{10, 5, 38, 28}), r.destination);
}

TEST(ClipCopyRect, ANegativePositionShiftsIntoTheSource) {
    const CopyResult r = ClipCopy({0, 0, 20, 20}, {0, 0, 100, 100}, {-10, -5});
    EXPECT_EQ((Rect32{10, 5, 20, 20}), r.source);
    EXPECT_EQ((Rect32{0, 0, 9, 14}), r.destination);
}

TEST(ClipCopyRect, TheClipLimitsTheSourceFirst) {
    const Rect32 clip{5, 5, 15, 15};
    const CopyResult r = ClipCopy({0, 0, 20, 20}, {0, 0, 100, 100}, {0, 0}, &clip);
    EXPECT_EQ((Rect32{5, 5, 15, 15}), r.source);
    EXPECT_EQ((Rect32{0, 0, 9, 9}), r.destination);

    const Rect32 disjoint{50, 50, 60, 60};
    const CopyResult none = ClipCopy({0, 0, 20, 20}, {0, 0, 100, 100}, {3, 4}, &disjoint);
    EXPECT_EQ((Rect32{0, 0, 0, 0}), none.source);
    EXPECT_EQ((Rect32{3, 4, 2, 3}), none.destination);
}

TEST(ClipCopyRect, ZeroSizeSourceOrDestination) {
    const CopyResult emptySource = ClipCopy({0, 0, 0, 0}, {0, 0, 10, 10}, {3, 4});
    EXPECT_EQ((Rect32{0, 0, 0, 0}), emptySource.source);
    EXPECT_EQ((Rect32{3, 4, 2, 3}), emptySource.destination);

    const CopyResult emptyDestination = ClipCopy({0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0});
    EXPECT_EQ((Rect32{0, 0, -1, -1}), emptyDestination.source);
    EXPECT_EQ((Rect32{0, 0, -2, -2}), emptyDestination.destination);
}

TEST(ShrinkPropRect, ALargerSourceShrinksIntoTheTargetCentredOnTheShortSide) {
    Rect32 target{0, 0, 200, 200};
    Point32 offset{-1, -1};
    EXPECT_DOUBLE_EQ(0.5, ShrinkPropRect({0, 0, 400, 300}, &target, true, false, &offset));
    EXPECT_EQ((Rect32{0, 25, 200, 175}), target);
    EXPECT_EQ((Point32{0, 25}), offset);

    Rect32 tall{10, 20, 210, 220};
    EXPECT_DOUBLE_EQ(0.5, ShrinkPropRect({0, 0, 300, 400}, &tall, true, false, &offset));
    EXPECT_EQ((Rect32{35, 20, 185, 220}), tall);
    EXPECT_EQ((Point32{25, 0}), offset);
}

TEST(ShrinkPropRect, WithoutCentringTheTargetKeepsItsOrigin) {
    Rect32 target{10, 20, 210, 220};
    Point32 offset;
    ShrinkPropRect({0, 0, 300, 400}, &target, false, false, &offset);
    EXPECT_EQ((Rect32{10, 20, 160, 220}), target);
    EXPECT_EQ((Point32{25, 0}), offset);
}

TEST(ShrinkPropRect, ASmallerSourceKeepsItsSizeUnlessEnlarged) {
    Rect32 kept{0, 0, 400, 400};
    Point32 offset;
    EXPECT_DOUBLE_EQ(1.0, ShrinkPropRect({0, 0, 100, 50}, &kept, true, false, &offset));
    EXPECT_EQ((Rect32{150, 175, 250, 225}), kept);
    EXPECT_EQ((Point32{150, 175}), offset);

    Rect32 grown{0, 0, 400, 400};
    EXPECT_DOUBLE_EQ(4.0, ShrinkPropRect({0, 0, 100, 50}, &grown, true, true, nullptr));
    EXPECT_EQ((Rect32{0, 100, 400, 300}), grown);
}

TEST(ShrinkPropRect, ZeroOrNegativeSizesChangeNothing) {
    const Rect32 cases[][2] = {
        {{0, 0, 0, 10}, {0, 0, 100, 100}},
        {{0, 0, 10, 0}, {0, 0, 100, 100}},
        {{0, 0, 10, 10}, {0, 0, 0, 100}},
        {{0, 0, 10, 10}, {0, 0, 100, -5}},
    };
    for (const auto& c : cases) {
        Rect32 target = c[1];
        Point32 offset{7, 7};
        EXPECT_EQ(0.0, ShrinkPropRect(c[0], &target, true, true, &offset));
        EXPECT_EQ(c[1], target);
        EXPECT_EQ((Point32{7, 7}), offset);
    }
}

TEST(ShrinkPropRect, HugeSizesDoNotOverflow) {
    Rect32 target{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_DOUBLE_EQ(1.0, ShrinkPropRect({0, 0, INT32_MAX, 1 << 20}, &target, false, false, nullptr));
    EXPECT_EQ((Rect32{INT32_MIN, INT32_MIN, -1, INT32_MIN + (1 << 20)}), target);

    Rect32 wide{0, 0, INT32_MAX, 2};
    EXPECT_DOUBLE_EQ(0.5, ShrinkPropRect({0, 0, INT32_MAX, 4}, &wide, false, false, nullptr));
    EXPECT_EQ((Rect32{0, 0, INT32_MAX / 2, 2}), wide);
}

TEST(CropPropRect, ALargerSourceKeepsTheTargetUnlessFitted) {
    Rect32 target{0, 0, 100, 100};
    Point32 offset{7, 7};
    EXPECT_DOUBLE_EQ(3.0, CropPropRect(&target, {0, 0, 400, 300}, true, false, &offset));
    EXPECT_EQ((Rect32{0, 0, 100, 100}), target);
    EXPECT_EQ((Point32{0, 0}), offset);

    Rect32 wide{0, 0, 100, 100};
    EXPECT_DOUBLE_EQ(4.0, CropPropRect(&wide, {0, 0, 400, 300}, true, true, &offset));
    EXPECT_EQ((Rect32{0, 13, 100, 88}), wide);
    EXPECT_EQ((Point32{0, 13}), offset);

    Rect32 tall{0, 0, 100, 100};
    EXPECT_DOUBLE_EQ(4.0, CropPropRect(&tall, {0, 0, 300, 400}, false, true, &offset));
    EXPECT_EQ((Rect32{0, 0, 75, 100}), tall);
    EXPECT_EQ((Point32{13, 0}), offset);
}

TEST(CropPropRect, ASmallerSourceIsScaledByItsLargerRatio) {
    Rect32 target{0, 0, 100, 100};
    Point32 offset;
    EXPECT_DOUBLE_EQ(0.5, CropPropRect(&target, {0, 0, 50, 20}, true, false, &offset));
    EXPECT_EQ((Rect32{0, 30, 100, 70}), target);
    EXPECT_EQ((Point32{0, 30}), offset);

    Rect32 upright{0, 0, 100, 100};
    EXPECT_DOUBLE_EQ(0.5, CropPropRect(&upright, {0, 0, 20, 50}, true, false, &offset));
    EXPECT_EQ((Rect32{30, 0, 70, 100}), upright);
    EXPECT_EQ((Point32{30, 0}), offset);

    Rect32 mixed{0, 0, 100, 100};
    EXPECT_DOUBLE_EQ(2.0, CropPropRect(&mixed, {0, 0, 200, 50}, false, false, &offset));
    EXPECT_EQ((Rect32{0, 0, 100, 25}), mixed);
    EXPECT_EQ((Point32{0, 37}), offset);
}

TEST(CropPropRect, ZeroSizesChangeNothing) {
    Rect32 target{0, 0, 100, 100};
    Point32 offset{7, 7};
    EXPECT_EQ(0.0, CropPropRect(&target, {5, 5, 5, 50}, true, true, &offset));
    EXPECT_EQ((Rect32{0, 0, 100, 100}), target);
    EXPECT_EQ((Point32{7, 7}), offset);
}

} // namespace
} // namespace qel::geometry
