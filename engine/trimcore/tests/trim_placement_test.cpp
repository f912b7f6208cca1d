// Clips alternate tracks; only the first and last clip (or a lone one) get black fillers.
#include "TrimPlacement.h"

#include <gtest/gtest.h>

namespace {

using qeltrim::TrackSide;

TEST(TrimPlacement, ClipsAlternateBetweenTracks) {
    EXPECT_EQ(TrackSide::kA, qeltrim::TrackForClip(0));
    EXPECT_EQ(TrackSide::kB, qeltrim::TrackForClip(1));
    EXPECT_EQ(TrackSide::kA, qeltrim::TrackForClip(2));
    EXPECT_EQ(TrackSide::kB, qeltrim::TrackForClip(7));
}

TEST(TrimPlacement, LoneClipGetsTwoFillersOnTrackB) {
    const qeltrim::FillerPlan plan = qeltrim::FillersForClip(0, 1);
    ASSERT_EQ(2, plan.count);
    EXPECT_EQ(TrackSide::kB, plan.tracks[0]);
    EXPECT_EQ(TrackSide::kB, plan.tracks[1]);
}

TEST(TrimPlacement, ThreeClipsFillOnlyTheEnds) {
    const qeltrim::FillerPlan first = qeltrim::FillersForClip(0, 3);
    ASSERT_EQ(1, first.count);
    EXPECT_EQ(TrackSide::kB, first.tracks[0]);
    EXPECT_EQ(0, qeltrim::FillersForClip(1, 3).count);
    // The last clip (index 2) is on A, so its fade-out filler goes on B.
    const qeltrim::FillerPlan last = qeltrim::FillersForClip(2, 3);
    ASSERT_EQ(1, last.count);
    EXPECT_EQ(TrackSide::kB, last.tracks[0]);
}

TEST(TrimPlacement, LastClipOnTrackBFillsTrackA) {
    const qeltrim::FillerPlan last = qeltrim::FillersForClip(1, 2);
    ASSERT_EQ(1, last.count);
    EXPECT_EQ(TrackSide::kA, last.tracks[0]);
    EXPECT_EQ(0, qeltrim::FillersForClip(0, 0).count);
}

} // namespace
