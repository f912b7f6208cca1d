// Emboss and mosaic against straightforward per-pixel references.
#include <gtest/gtest.h>

#include <algorithm>

#include "effect_test_util.h"
#include "core/emboss_effect.h"
#include "core/mosaic_effect.h"

namespace {

// Emboss of one pixel straight from its definition, in picture lines.
int EmbossReference(const TestFrame& in, int x, int line, int k, const EmbossParams& p) {
    auto clampTo = [](long long v, int last) { return static_cast<int>(std::clamp<long long>(v, 0, last)); };
    const int y0 = clampTo(static_cast<long long>(line) + p.offset, in.Lines() - 1);
    const int y1 = clampTo(static_cast<long long>(line) + p.offset + 1, in.Lines() - 1);
    const int x0 = clampTo(static_cast<long long>(x) + p.offset, in.Width() - 1);
    const int x1 = clampTo(static_cast<long long>(x) + p.offset + 1, in.Width() - 1);
    const int p00 = in.Pixel(x0, y0)[k], p01 = in.Pixel(x1, y0)[k];
    const int p10 = in.Pixel(x0, y1)[k], p11 = in.Pixel(x1, y1)[k];
    const int f = p.fraction;
    const int m = (p10 + p01 - 2 * p00) * (f * 128) + (p11 + p00 - p10 - p01) * (f * f) + p00 * 16384;
    const int s = std::clamp(m >> 14, 0, 255);
    return std::clamp(s - in.Pixel(x, line)[k] + 128, 0, 255);
}

TEST(EmbossEffect, StrengthGivesOffsetAndFraction) {
    EXPECT_EQ(1, EmbossParamsForStrength(50).offset);  // 1.5 lines and columns on
    EXPECT_EQ(64, EmbossParamsForStrength(50).fraction);
    EXPECT_EQ(0, EmbossParamsForStrength(10).offset);  // 0.3
    EXPECT_EQ(38, EmbossParamsForStrength(10).fraction);
    EXPECT_EQ(0, EmbossParamsForStrength(0).offset);
    EXPECT_EQ(0, EmbossParamsForStrength(0).fraction);
    EXPECT_EQ(-1, EmbossParamsForStrength(-50).offset);
    EXPECT_EQ(-64, EmbossParamsForStrength(-50).fraction);
}

TEST(EmbossEffect, FlatFrameGives128Everywhere) {
    TestFrame frame(33, 19);
    frame.Fill(200, 17, 90);
    for (int strength : {0, 1, 50, 100, -30, 5000}) {
        TestFrame out = RunEffect(3, frame, strength);
        for (int line = 0; line < 19; ++line) {
            for (int x = 0; x < 33; ++x) {
                ASSERT_EQ(128, out.Pixel(x, line)[0]) << "strength " << strength;
                ASSERT_EQ(128, out.Pixel(x, line)[1]);
                ASSERT_EQ(128, out.Pixel(x, line)[2]);
            }
        }
    }
}

TEST(EmbossEffect, MatchesTheDefinitionAtOddSizesAndStrengths) {
    for (int strength : {50, 37, 99, -20, 1000, 2147483647}) {
        TestFrame frame(33, 19);
        frame.FillNoise(static_cast<uint32_t>(strength));
        const EmbossParams params = EmbossParamsForStrength(strength);
        TestFrame out = RunEffect(3, frame, strength);
        for (int line = 0; line < 19; ++line)
            for (int x = 0; x < 33; ++x)
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(EmbossReference(frame, x, line, k, params), out.Pixel(x, line)[k])
                        << "strength " << strength << " at " << x << "," << line;
    }
}

TEST(MosaicEffect, BlockSizeIsTheStrengthBoundedTo2To16) {
    EXPECT_EQ(2, MosaicBlockSize(1));
    EXPECT_EQ(16, MosaicBlockSize(50));
    EXPECT_EQ(8, MosaicBlockSize(8));
    EXPECT_EQ(2, MosaicBlockSize(-5));
    CMosaicEffect effect;
    effect.SetStrength(1);
    EXPECT_EQ(2, effect.BlockSize());
    EXPECT_EQ(1, effect.Strength());
}

TEST(MosaicEffect, EachBlockIsItsTruncatedMeanFromTheFirstLineAndColumn) {
    for (int strength : {2, 5, 8, 16}) {
        TestFrame frame(33, 19);
        frame.FillNoise(static_cast<uint32_t>(strength) + 11);
        TestFrame out = RunEffect(6, frame, strength);
        for (int top = 0; top < 19; top += strength) {
            for (int left = 0; left < 33; left += strength) {
                const int bottom = std::min(top + strength, 19), right = std::min(left + strength, 33);
                for (int k = 0; k < 3; ++k) {
                    int sum = 0;
                    for (int line = top; line < bottom; ++line)
                        for (int x = left; x < right; ++x)
                            sum += frame.Pixel(x, line)[k];
                    const int mean = sum / ((bottom - top) * (right - left));
                    for (int line = top; line < bottom; ++line)
                        for (int x = left; x < right; ++x)
                            ASSERT_EQ(mean, out.Pixel(x, line)[k]) << "block " << left << "," << top;
                }
            }
        }
    }
}

TEST(MosaicEffect, MeanIsTruncated) {
    TestFrame frame(2, 2);
    frame.Fill(2, 2, 2);
    frame.Pixel(0, 0)[0] = 1;  // 1 + 2 + 2 + 2 = 7, 7 / 4 = 1
    EXPECT_EQ(1, RunEffect(6, frame, 2).Pixel(1, 1)[0]);
}

}  // namespace
