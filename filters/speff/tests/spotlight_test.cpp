// The light mask's form, its resampling to the frame, and the lighting of a channel.
#include <gtest/gtest.h>

#include <vector>

#include "effect_test_util.h"
#include "core/light_mask.h"
#include "core/spotlight_effect.h"

namespace {

int MaskAt(int column, int line) {
    return LightMask()[line * kLightMaskWidth + column];
}

TEST(LightMask, FullLightOverTheCentralEllipseFallingOffToTheEdges) {
    EXPECT_EQ(255, MaskAt(160, 120));
    EXPECT_EQ(255, MaskAt(72, 120));
    EXPECT_EQ(255, MaskAt(248, 120));
    EXPECT_EQ(255, MaskAt(160, 60));
    EXPECT_EQ(255, MaskAt(160, 180));
    EXPECT_LT(MaskAt(60, 120), 255);
    EXPECT_NEAR(90, MaskAt(0, 120), 3);
    EXPECT_NEAR(90, MaskAt(319, 120), 3);
    EXPECT_NEAR(117, MaskAt(160, 0), 3);
    EXPECT_NEAR(117, MaskAt(160, 239), 3);
    for (int corner : {MaskAt(0, 0), MaskAt(319, 0), MaskAt(0, 239), MaskAt(319, 239)}) {
        EXPECT_GE(corner, 47);
        EXPECT_LE(corner, 50);
    }
}

TEST(LightMask, NeverBelow47AndFallsSteadilyFromTheCentre) {
    for (int line = 0; line < kLightMaskLines; ++line) {
        for (int column = 0; column < kLightMaskWidth; ++column) {
            ASSERT_GE(MaskAt(column, line), 47);
            if (column > 160) {
                ASSERT_LE(MaskAt(column, line), MaskAt(column - 1, line)) << column << "," << line;
            }
            if (column < 160) {
                ASSERT_LE(MaskAt(column, line), MaskAt(column + 1, line)) << column << "," << line;
            }
            if (line > 120) {
                ASSERT_LE(MaskAt(column, line), MaskAt(column, line - 1)) << column << "," << line;
            }
            if (line < 120) {
                ASSERT_LE(MaskAt(column, line), MaskAt(column, line + 1)) << column << "," << line;
            }
        }
    }
}

TEST(LightMask, ResamplingToItsOwnSizeGivesTheMask) {
    const std::vector<uint8_t> same = ResampleLightMask(320, 240);
    ASSERT_EQ(320u * 240u, same.size());
    EXPECT_TRUE(std::equal(same.begin(), same.end(), LightMask()));
}

TEST(LightMask, DoubleSizeKeepsTheMaskPointsAndBlendsBetweenThem) {
    const std::vector<uint8_t> big = ResampleLightMask(640, 480);
    ASSERT_EQ(640u * 480u, big.size());
    EXPECT_EQ(MaskAt(10, 20), big[40 * 640 + 20]);
    const int left = MaskAt(10, 20), right = MaskAt(11, 20);
    const int between = big[40 * 640 + 21];
    EXPECT_GE(between, std::min(left, right));
    EXPECT_LE(between, std::max(left, right));
    // The last column and line repeat the mask's last ones.
    EXPECT_EQ(MaskAt(319, 239), big[479 * 640 + 639]);
}

TEST(LightMask, TinyAndOddSizesStayWithinTheMask) {
    EXPECT_TRUE(ResampleLightMask(0, 5).empty());
    const std::vector<uint8_t> one = ResampleLightMask(1, 1);
    ASSERT_EQ(1u, one.size());
    EXPECT_EQ(MaskAt(0, 0), one[0]);
    const std::vector<uint8_t> odd = ResampleLightMask(33, 19);
    ASSERT_EQ(33u * 19u, odd.size());
    for (uint8_t v : odd)
        EXPECT_GE(v, 47);
}

TEST(SpotlightEffect, LightLiftsAChannelAndDarknessLeavesATenth) {
    TestFrame in(3, 1), out(3, 1);
    in.Pixel(0, 0)[0] = 0;
    in.Pixel(0, 0)[1] = 255;
    in.Pixel(0, 0)[2] = 128;
    std::vector<uint8_t> mask(3, 255);
    ASSERT_TRUE(
        SpotlightFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{3, 1, in.Stride(), 3}, mask.data()));
    EXPECT_EQ(0, out.Pixel(0, 0)[0]);
    EXPECT_EQ(253, out.Pixel(0, 0)[1]);
    EXPECT_EQ((65025 - 127 * 127) * 255 >> 16, out.Pixel(0, 0)[2]);  // 190: lifted above 128
    mask.assign(3, 0);
    ASSERT_TRUE(
        SpotlightFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{3, 1, in.Stride(), 3}, mask.data()));
    EXPECT_EQ(255 * 25 * 255 >> 16, out.Pixel(0, 0)[1]);  // 24
    EXPECT_TRUE(out.GuardsIntact());
}

TEST(SpotlightEffect, CentreIsLitAndCornersDarkened) {
    TestFrame frame(640, 480);
    frame.Fill(200, 200, 200);
    TestFrame out = RunEffect(8, frame, 50);
    EXPECT_GT(out.Pixel(320, 240)[0], 200);
    EXPECT_LT(out.Pixel(0, 0)[0], 120);
}

}  // namespace
