// The slider's track arithmetic: value to thumb place and back, snapping, pinning at the ends, and the
// guards against a zero-width track or an unset range.
#include "SliderTrack.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qel_controls;

namespace {

constexpr int kThumbWidth = 10;

// A 100-pixel track from x 20 to 120 over the range min..max.
SliderTrack Track(int min, int max) {
    SliderTrack t;
    t.left = 20;
    t.right = 120;
    const SliderRange r = NormalRange(min, max);
    t.min = r.min;
    t.span = r.Span();
    t.unit = UnitOf(t.Width(), t.span);
    t.halfThumb = kThumbWidth / 2;
    return t;
}

int CentreOf(const SliderTrack& t, int pos) {
    int centre = -1;
    EXPECT_TRUE(CentreForPos(t, pos, &centre));
    return centre;
}

// The thumb's new centre after a drag from the thumb's centre to pointX, or -1 when it stays.
int DragCentre(const SliderTrack& t, int fromPos, int pointX) {
    const int centre = CentreOf(t, fromPos);
    int left = 0;
    if (!AdjustThumb(t, centre - kThumbWidth / 2, kThumbWidth, centre, pointX, &left))
        return -1;
    return left + kThumbWidth / 2;
}

} // namespace

TEST(SliderTrack, EmptyOrReversedRangeBecomesOneStep) {
    EXPECT_EQ(5, NormalRange(5, 5).min);
    EXPECT_EQ(6, NormalRange(5, 5).max);
    EXPECT_EQ(8, NormalRange(7, 3).max);
    EXPECT_EQ(10, NormalRange(0, 10).max);
}

TEST(SliderTrack, PositionPlacesTheThumbCentreProportionally) {
    const SliderTrack t = Track(0, 10);
    EXPECT_FLOAT_EQ(10.0f, t.unit);
    EXPECT_EQ(50, CentreOf(t, 3)); // 30 pixels from the track's left edge
    EXPECT_EQ(20, CentreOf(t, 0));
    EXPECT_EQ(120, CentreOf(t, 10));
}

TEST(SliderTrack, DragSnapsToTheNearestValue) {
    const SliderTrack t = Track(0, 10);
    EXPECT_EQ(-1, DragCentre(t, 3, 20 + 34)); // snaps back to 30: the thumb stays, position 3
    EXPECT_EQ(20 + 40, DragCentre(t, 3, 20 + 36));
    EXPECT_EQ(4, PosForCentre(t, 20 + 40));
    EXPECT_EQ(3, PosForCentre(t, 20 + 30));
}

TEST(SliderTrack, OffsetRangeReachesItsMaximumAtTheRightEnd) {
    const SliderTrack t = Track(20, 30);
    const int centre = DragCentre(t, 20, 120);
    EXPECT_EQ(120, centre);
    EXPECT_EQ(30, PosForCentre(t, centre));
    EXPECT_EQ(20, PosForCentre(t, 20));
    EXPECT_EQ(30, PosForCentre(t, 500));
}

TEST(SliderTrack, DragPastAnEndPinsThereAndFurtherMovesDoNothing) {
    const SliderTrack t = Track(0, 10);
    EXPECT_EQ(120, DragCentre(t, 8, 400));
    EXPECT_EQ(20, DragCentre(t, 2, -300));
    int left = 0;
    // Already pinned on the right end: moving further out changes nothing.
    EXPECT_FALSE(AdjustThumb(t, 120 - 5, kThumbWidth, 120, 160, &left));
    EXPECT_FALSE(AdjustThumb(t, 20 - 5, kThumbWidth, 20, 0, &left));
}

TEST(SliderTrack, ZeroWidthTrackOrUnsetRangeNeverDivides) {
    SliderTrack unset;
    unset.left = unset.right = 40;
    int centre = 123;
    EXPECT_FALSE(CentreForPos(unset, 5, &centre));
    EXPECT_EQ(123, centre); // the thumb stays
    EXPECT_EQ(0, PosForCentre(unset, 60));
    EXPECT_EQ(40, SnappedThumbLeft(unset, 90));

    SliderTrack flat = Track(0, 10);
    flat.right = flat.left;
    flat.unit = UnitOf(flat.Width(), flat.span);
    EXPECT_FLOAT_EQ(0.0f, flat.unit);
    EXPECT_EQ(0, PosForCentre(flat, 19));
    EXPECT_EQ(0, PosForCentre(flat, 25));
    EXPECT_EQ(flat.left - flat.halfThumb, SnappedThumbLeft(flat, 30));
}

TEST(SliderTrack, PageClicksStepTowardsThePointerAndClamp) {
    EXPECT_EQ(1, PageDirection(40, 50, 51));
    EXPECT_EQ(-1, PageDirection(40, 50, 39));
    EXPECT_EQ(0, PageDirection(40, 50, 45));
    EXPECT_EQ(100, PagedPos(95, 1, 10, 0, 100));
    EXPECT_EQ(0, PagedPos(4, -1, 10, 0, 100));
    EXPECT_EQ(60, PagedPos(50, 1, 10, 0, 100));
    EXPECT_EQ(2147483647, PagedPos(2147483640, 1, 10, 0, 2147483647));
}

// Skin numbers at the ends of the int range: everything stays inside the track and the range, and
// nothing wraps (the native build runs these under UndefinedBehaviorSanitizer). One test per formula.
TEST(SliderTrackExtremes, RangesAtTheIntLimitsKeepASpanThatFits) {
    const SliderRange top = NormalRange(INT_MAX, INT_MAX);
    EXPECT_EQ(INT_MAX - 1, top.min);
    EXPECT_EQ(INT_MAX, top.max);
    EXPECT_EQ(10, NormalRange(0, 10).Span()) << "a range that fits stays as it is";
    EXPECT_EQ(INT_MAX, NormalRange(0, INT_MAX).Span());
}

TEST(SliderTrackExtremes, RangeWiderThanAnIntCountsIsNarrowed) {
    const SliderRange whole = NormalRange(INT_MIN, INT_MAX);
    EXPECT_EQ(INT_MIN, whole.min);
    EXPECT_EQ(INT_MAX, whole.Span()); // the slider's span, as SetRange stores it
    EXPECT_EQ(-1, whole.max);
}

TEST(SliderTrackExtremes, LargeRangeOnAShortTrackPlacesTheThumbProportionally) {
    const SliderTrack t = Track(0, 100000000);
    EXPECT_EQ(70, CentreOf(t, 50000000));
    EXPECT_EQ(120, CentreOf(t, 100000000));
    EXPECT_EQ(50000000, PosForCentre(t, 70));
}

TEST(SliderTrackExtremes, CentresFarOffTheTrackGiveItsEnds) {
    const SliderTrack t = Track(0, 10);
    EXPECT_EQ(0, PosForCentre(t, INT_MIN));
    EXPECT_EQ(10, PosForCentre(t, INT_MAX));
}

TEST(SliderTrackExtremes, PointersFarOffTheTrackSnapToItsEnds) {
    const SliderTrack t = Track(0, 100000000); // a tiny unit: the step count passes the int range
    EXPECT_EQ(120 - kThumbWidth / 2, SnappedThumbLeft(t, INT_MAX));
    EXPECT_EQ(20 - kThumbWidth / 2, SnappedThumbLeft(t, INT_MIN));
}

TEST(SliderTrackExtremes, DragsOfExtremeLengthPinAtTheEnds) {
    const SliderTrack t = Track(0, 10);
    int left = 0;
    ASSERT_TRUE(AdjustThumb(t, 60 - kThumbWidth / 2, kThumbWidth, INT_MIN, INT_MAX, &left));
    EXPECT_EQ(120 - kThumbWidth / 2, left);
    ASSERT_TRUE(AdjustThumb(t, 60 - kThumbWidth / 2, kThumbWidth, INT_MAX, INT_MIN, &left));
    EXPECT_EQ(20 - kThumbWidth / 2, left);
}

TEST(SliderTrackExtremes, ThumbAtTheEndOfTheIntRangeDoesNotMove) {
    const SliderTrack t = Track(0, 10);
    int left = 0;
    EXPECT_FALSE(AdjustThumb(t, INT_MAX, INT_MAX, 0, 0, &left)); // outside the track
    EXPECT_FALSE(AdjustThumb(t, INT_MAX, INT_MAX, 0, 1, &left));
}

TEST(SliderTrackExtremes, TrackAcrossTheWholeIntRangeStaysOnIt) {
    SliderTrack t;
    t.left = INT_MIN;
    t.right = INT_MAX;
    t.min = 0;
    t.span = 10;
    t.unit = UnitOf(t.Width(), t.span);
    t.halfThumb = kThumbWidth / 2;
    EXPECT_NEAR(429496729.5f, t.unit, 100.0f);
    EXPECT_EQ(INT_MIN, CentreOf(t, 0));
    EXPECT_EQ(INT_MAX, CentreOf(t, 10));
    EXPECT_EQ(INT_MAX, CentreOf(t, INT_MAX)) << "past the range counts as its end";
    EXPECT_EQ(0, PosForCentre(t, INT_MIN));
    EXPECT_EQ(10, PosForCentre(t, INT_MAX));
    EXPECT_EQ(5, PosForCentre(t, 0));
    EXPECT_EQ(INT_MAX - kThumbWidth / 2, SnappedThumbLeft(t, INT_MAX));
    EXPECT_EQ(INT_MIN, SnappedThumbLeft(t, INT_MIN)) << "left - half pinned to the int range";
}
