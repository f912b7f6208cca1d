// Sepia and snow, the two effects that compute with the imaging routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "effect_test_util.h"
#include "core/sepia_effect.h"
#include "core/snow_effect.h"

namespace {

TEST(SepiaEffect, StrengthFiftyTonesGreysAlongTheSepiaCurves) {
    TestFrame frame(33, 19);
    frame.Fill(0, 0, 0);
    frame.Pixel(1, 1)[0] = frame.Pixel(1, 1)[1] = frame.Pixel(1, 1)[2] = 255;
    frame.Pixel(2, 1)[0] = frame.Pixel(2, 1)[1] = frame.Pixel(2, 1)[2] = 128;
    TestFrame out = RunEffect(1, frame, 50);  // amount 100: the sepia tone itself
    const uint8_t* black = out.Pixel(0, 0);
    EXPECT_NEAR(50, black[2], 2);  // red
    EXPECT_NEAR(54, black[1], 2);
    EXPECT_NEAR(38, black[0], 2);  // blue
    const uint8_t* white = out.Pixel(1, 1);
    EXPECT_NEAR(226, white[2], 2);
    EXPECT_NEAR(176, white[0], 2);
    const uint8_t* grey = out.Pixel(2, 1);
    EXPECT_NEAR(172, grey[2], 3);
    EXPECT_NEAR(150, grey[1], 3);
    EXPECT_NEAR(95, grey[0], 3);
}

TEST(SepiaEffect, StrengthZeroOnlyDarkensSlightly) {
    TestFrame frame(8, 3);
    frame.Fill(128, 128, 128);
    TestFrame out = RunEffect(1, frame, 0);  // i x 127 / 128
    EXPECT_NEAR(127, out.Pixel(4, 1)[1], 1);
}

TEST(SepiaEffect, NewStrengthSwapsInANewCube) {
    CSepiaEffect effect;
    effect.SetStrength(20);
    const qel::imaging::ColourCube* before = &effect.Cube();
    effect.SetStrength(80);
    EXPECT_NE(before, &effect.Cube());
    EXPECT_EQ(80, effect.Strength());
    TestFrame frame(33, 19);
    frame.FillRamp();
    EXPECT_FALSE(RunEffect(1, frame, 20).SamePicture(RunEffect(1, frame, 80)));
}

TEST(SepiaEffect, EveryStrengthMapsEachPixelThroughItsOwnCube) {
    // Wider than one 32-pixel block with a tail, so that the whole-block and tail paths both run.
    TestFrame frame(77, 9);
    frame.FillNoise(3);
    CSepiaEffect effect;
    ASSERT_TRUE(effect.Init(frame.Width(), frame.Height(), 3, 8, frame.Stride(), kByteOrderBgr));
    for (int strength : {0, 37, 100, 50}) {
        effect.SetStrength(strength);
        const TestFrame out = RunEffect(effect, frame);
        for (int line = 0; line < frame.Height(); ++line) {
            for (int x = 0; x < frame.Width(); ++x) {
                const uint8_t* in = frame.Pixel(x, line);
                const qel::imaging::Rgb expected =
                    qel::imaging::LookupCube(effect.Cube(), {in[2], in[1], in[0]});
                const uint8_t* got = out.Pixel(x, line);
                ASSERT_EQ(expected.red, got[2]) << strength << " at " << x << "," << line;
                ASSERT_EQ(expected.green, got[1]);
                ASSERT_EQ(expected.blue, got[0]);
            }
        }
    }
}

TEST(SepiaEffect, AmountIsTwiceTheStrengthWithoutOverflow) {
    EXPECT_EQ(100, CSepiaEffect::AmountForStrength(50));
    EXPECT_EQ(2147483647, CSepiaEffect::AmountForStrength(2147483647));
    EXPECT_EQ(-2147483647 - 1, CSepiaEffect::AmountForStrength(-2147483647 - 1));
}

TEST(SepiaEffect, FollowsTheByteOrder) {
    TestFrame frame(4, 2);
    frame.Fill(0, 0, 0);
    TestFrame rgbOut(4, 2);
    CSepiaEffect rgb;
    ASSERT_TRUE(rgb.Init(4, 2, 3, 8, frame.Stride(), kByteOrderRgb));
    rgb.SetStrength(50);
    ASSERT_EQ(1, rgb.Process(frame.Data(), rgbOut.Data()));
    EXPECT_NEAR(50, rgbOut.Pixel(0, 0)[0], 2);  // red comes first
    EXPECT_NEAR(38, rgbOut.Pixel(0, 0)[2], 2);
}

TEST(SnowEffect, StrengthZeroCopies) {
    TestFrame frame(33, 19);
    frame.FillNoise(1);
    EXPECT_TRUE(RunEffect(5, frame, 0).SamePicture(frame));
}

TEST(SnowEffect, FlakesAppearAndMoveFromFrameToFrame) {
    TestFrame frame(160, 120);
    frame.Fill(0, 0, 0);
    std::unique_ptr<CEffect> effect = MakeEffectFor(5, frame, 100);
    TestFrame first = RunEffect(*effect, frame);
    TestFrame second = RunEffect(*effect, frame);
    int flakes = 0;
    for (int line = 0; line < 120; ++line)
        for (int x = 0; x < 160; ++x)
            flakes += first.Pixel(x, line)[1] > 128 ? 1 : 0;
    EXPECT_GT(flakes, 0);
    EXPECT_LT(flakes, 160 * 120);
    EXPECT_FALSE(first.SamePicture(second));
}

}  // namespace
