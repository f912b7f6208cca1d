// The label's text flags and font height, and the scroll panel's steps and re-placement on resize.
#include "LabelFormat.h"
#include "ScrollRules.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qel_controls;

TEST(LabelFormat, WrapsUnlessTheStyleSaysNoWrapAndAlignsByTheStyle) {
    EXPECT_EQ(kTextWordBreak, LabelTextFormat(0, 0));
    EXPECT_EQ(kTextWordBreak | kTextCenter, LabelTextFormat(0, kStyleCenter));
    EXPECT_EQ(kTextWordBreak | kTextRight | kTextNoPrefix, LabelTextFormat(0, kStyleRight | kStyleNoPrefix));
    EXPECT_EQ(0u, LabelTextFormat(0, kStyleLeftNoWordWrap));
    EXPECT_EQ(0u, LabelTextFormat(kTextWordBreak, kStyleLeftNoWordWrap)) << "no wrap wins over the text type";
    EXPECT_EQ(0x20u | kTextWordBreak, LabelTextFormat(0x20, 0)); // extra flags pass through
}

TEST(LabelFormat, PositiveSizeIsACharacterHeightOthersPassAsGiven) {
    EXPECT_EQ(-12, LabelFontHeight(12));
    EXPECT_EQ(-1, LabelFontHeight(1));
    EXPECT_EQ(0, LabelFontHeight(0));
    EXPECT_EQ(-9, LabelFontHeight(-9));
}

TEST(ScrollRules, LineStepsMoveOnePixelAndStopAtTheEnds) {
    // View 300 in a 100-pixel window: maximum 299, page 100, positions 0..200.
    EXPECT_EQ(1, ScrolledPosition(0, kLineRight, 0, 299, 100));
    EXPECT_EQ(200, ScrolledPosition(200, kLineRight, 0, 299, 100));
    EXPECT_EQ(0, ScrolledPosition(0, kLineLeft, 0, 299, 100));
    EXPECT_EQ(41, ScrolledPosition(42, kLineLeft, 0, 299, 100));
}

TEST(ScrollRules, PageStepsStopExactlyAtTheEnds) {
    EXPECT_EQ(100, ScrolledPosition(0, kPageRight, 0, 299, 100));
    EXPECT_EQ(200, ScrolledPosition(150, kPageRight, 0, 299, 100));
    EXPECT_EQ(0, ScrolledPosition(30, kPageLeft, 0, 299, 100));
    EXPECT_EQ(50, ScrolledPosition(150, kPageLeft, 0, 299, 100));
}

TEST(ScrollRules, ThumbAndEndCodesJumpOthersKeep) {
    EXPECT_EQ(77, ScrolledPosition(10, kThumbTrack, 77, 299, 100));
    EXPECT_EQ(78, ScrolledPosition(10, kThumbPosition, 78, 299, 100));
    EXPECT_EQ(0, ScrolledPosition(10, kLeft, 0, 299, 100));
    EXPECT_EQ(200, ScrolledPosition(10, kRight, 0, 299, 100));
    EXPECT_EQ(10, ScrolledPosition(10, 8, 99, 299, 100)); // end scroll
}

TEST(ScrollRules, BarWithNothingToScrollIgnoresEveryCode) {
    for (int code = kLineLeft; code <= kRight; ++code)
        EXPECT_EQ(0, ScrolledPosition(0, code, 40, 0, 0)) << "code " << code;
}

TEST(ScrollRules, ResizeKeepsThePositionOrTheMiddleAndClamps) {
    EXPECT_EQ(0, RescrolledPosition(0, 0, 300, 100, false));
    EXPECT_EQ(40, RescrolledPosition(40, 299, 300, 100, false));
    EXPECT_EQ(100, RescrolledPosition(180, 299, 200, 99, false)); // clamped to 199 - 99
    EXPECT_EQ(99, RescrolledPosition(0, 0, 300, 100, true));      // first time: centred
    // Middle at 150 of 299 stays at the same share of 599: (100 + 50) * 599 / 299 - 50.
    EXPECT_EQ(250, RescrolledPosition(100, 299, 600, 100, true));
    EXPECT_EQ(0, RescrolledPosition(50, 299, 80, 100, true)); // nothing left to scroll
}

// Bars and views sized from skin numbers at the ends of the int range: positions stay within the
// bar and nothing wraps (run under UndefinedBehaviorSanitizer in the native build). One test per formula.
TEST(ScrollRulesExtremes, BarEndPastTheIntRangeIsPinned) {
    EXPECT_EQ(INT_MAX, ScrolledPosition(0, kRight, 0, INT_MAX, 0));
    EXPECT_EQ(INT_MIN + 2, ScrolledPosition(INT_MIN + 1, kLineRight, 0, 1, INT_MIN));
}

TEST(ScrollRulesExtremes, PageLeftFromFarBelowStopsAtZero) {
    EXPECT_EQ(0, ScrolledPosition(-10, kPageLeft, 0, 100, INT_MAX));
}

TEST(ScrollRulesExtremes, PageRightNearTheIntLimitStopsAtTheEnd) {
    EXPECT_EQ(INT_MAX - 99, ScrolledPosition(INT_MAX - 5, kPageRight, 0, INT_MAX, 100));
}

TEST(ScrollRulesExtremes, ResizeWithAnExtremePageStaysInTheScrollableSpan) {
    EXPECT_EQ(INT_MAX, RescrolledPosition(INT_MAX, 10, INT_MAX, INT_MIN, false));
    EXPECT_EQ(INT_MAX - 100, RescrolledPosition(INT_MAX, INT_MAX, INT_MAX, 99, true));
}

TEST(ScrollRulesExtremes, ResizeToExtremeViewsStaysInTheScrollableSpan) {
    EXPECT_EQ(0, RescrolledPosition(0, 0, INT_MIN, 100, false));
    EXPECT_EQ(0, RescrolledPosition(5, 10, INT_MIN, 100, true));
    EXPECT_EQ(INT_MAX, RescrolledPosition(0, 0, INT_MAX, INT_MIN, true));
}
