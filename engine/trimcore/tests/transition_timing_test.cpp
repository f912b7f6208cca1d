// Transition lengths are capped at half a clip; cuts, fades and the black tail move the timeline end.
#include "TransitionTiming.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kSecond = 10000000;

TEST(TransitionTiming, FourSecondsBetweenFiveAndThreeBecomesOneAndAHalf) {
    // Previous clip 0..5 s on the timeline; next clip uses 3 s of its file, from 10 s to 13 s.
    const qeltrim::Overlap plan =
        qeltrim::PlanBetweenClips(0, 4 * kSecond, 5 * kSecond, 3 * kSecond, 5 * kSecond, 10 * kSecond, 13 * kSecond);
    EXPECT_FALSE(plan.cut);
    EXPECT_EQ(15000000, plan.duration);
    EXPECT_EQ(35000000, plan.start);
    EXPECT_EQ(65000000, plan.end);
}

TEST(TransitionTiming, ShortTransitionIsKeptWhole) {
    const qeltrim::Overlap plan = qeltrim::PlanBetweenClips(3, kSecond, 5 * kSecond, 3 * kSecond, 5 * kSecond, 0,
                                                            3 * kSecond);
    EXPECT_EQ(kSecond, plan.duration);
    EXPECT_EQ(4 * kSecond, plan.start);
}

TEST(TransitionTiming, NegativeTypeBetweenClipsCutsAtThePreviousEnd) {
    const qeltrim::Overlap plan =
        qeltrim::PlanBetweenClips(-1, 4 * kSecond, 5 * kSecond, 3 * kSecond, 5 * kSecond, kSecond, 4 * kSecond);
    EXPECT_TRUE(plan.cut);
    EXPECT_EQ(0, plan.duration);
    EXPECT_EQ(5 * kSecond, plan.start);
    EXPECT_EQ(8 * kSecond, plan.end);
}

TEST(TransitionTiming, HalfTruncatesTowardZero) {
    EXPECT_EQ(2, qeltrim::HalfOf(5));
    EXPECT_EQ(-2, qeltrim::HalfOf(-5));
    // An odd clip length: the fade into the first clip is cut to the truncated half.
    EXPECT_EQ(1, qeltrim::PlanFirstClip(0, kSecond, 3).duration);
    EXPECT_TRUE(qeltrim::PlanFirstClip(-1, kSecond, 3).cut);
}

TEST(TransitionTiming, LoneClipFadesOutIntoItsSecondFillerAndGrowsTheTail) {
    const qeltrim::FadeOut plan = qeltrim::PlanLastClip(0, kSecond, 3 * kSecond, 0, 3 * kSecond);
    EXPECT_FALSE(plan.cut);
    EXPECT_TRUE(plan.useSecondFiller);
    EXPECT_EQ(2 * kSecond, plan.transStart);
    EXPECT_EQ(3 * kSecond, plan.transStop);
    EXPECT_EQ(kSecond + 500000, plan.fillerMediaStop);
    EXPECT_EQ(2 * kSecond, plan.fillerStart);
    EXPECT_EQ(3 * kSecond + 500000, plan.fillerStop);
    EXPECT_EQ(3 * kSecond + 500000, plan.end);
}

TEST(TransitionTiming, LastOfSeveralUsesTheFirstFillerAndACutLeavesTheEnd) {
    const qeltrim::FadeOut fade = qeltrim::PlanLastClip(0, 4 * kSecond, 2 * kSecond, 6 * kSecond, 8 * kSecond);
    EXPECT_FALSE(fade.useSecondFiller);
    EXPECT_EQ(kSecond, fade.duration);
    EXPECT_EQ(7 * kSecond, fade.transStart);
    const qeltrim::FadeOut cut = qeltrim::PlanLastClip(-2, 4 * kSecond, 2 * kSecond, 6 * kSecond, 8 * kSecond);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(8 * kSecond, cut.end);
}

TEST(AudioEnvelope, FadeOutAndFadeInOverTwoSeconds) {
    const qeltrim::AudioEnvelope out = qeltrim::AudioEnvelopeFor(1);
    ASSERT_EQ(2, out.count);
    EXPECT_EQ(1.0, out.points[0].level);
    EXPECT_EQ(0, out.points[0].time);
    EXPECT_EQ(0.0, out.points[1].level);
    EXPECT_EQ(20000000, out.points[1].time);
    EXPECT_EQ(1, out.points[1].interpolation);
    const qeltrim::AudioEnvelope in = qeltrim::AudioEnvelopeFor(2);
    ASSERT_EQ(2, in.count);
    EXPECT_EQ(0.0, in.points[0].level);
    EXPECT_EQ(1.0, in.points[1].level);
    EXPECT_EQ(0, qeltrim::AudioEnvelopeFor(0).count);
    EXPECT_EQ(0, qeltrim::AudioEnvelopeFor(3).count);
}

} // namespace
