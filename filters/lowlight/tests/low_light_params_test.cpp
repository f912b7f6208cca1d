// The low-light parameters at the strengths where the derivation changes its rule.
#include <gtest/gtest.h>

#include <climits>

#include "core/low_light_params.h"

namespace {

TEST(LowLightParams, StrengthZeroKeepsGammaOneAndFullContrast) {
    const LowLightParams p = DeriveLowLightParams(0);
    EXPECT_FLOAT_EQ(1.0f, p.gamma);
    EXPECT_EQ(50, p.contrastBase);
    EXPECT_EQ(100, p.contrastStrength);
}

TEST(LowLightParams, FirstQuarterRaisesTheGammaOnly) {
    EXPECT_FLOAT_EQ(1.4f, DeriveLowLightParams(10).gamma);
    const LowLightParams p = DeriveLowLightParams(25);
    EXPECT_FLOAT_EQ(2.0f, p.gamma);
    EXPECT_EQ(100, p.contrastStrength);
}

TEST(LowLightParams, Strength26StartsTheContrastRuleAtFifty) {
    const LowLightParams p = DeriveLowLightParams(26);
    EXPECT_FLOAT_EQ(2.0f, p.gamma);
    EXPECT_EQ(50, p.contrastBase);  // 26 x 4 / 5 = 20, + 30
    EXPECT_EQ(100, p.contrastStrength);
}

TEST(LowLightParams, MiddleStrengthsRaiseTheContrast) {
    EXPECT_EQ(70, DeriveLowLightParams(50).contrastBase);
    EXPECT_EQ(150, DeriveLowLightParams(50).contrastStrength);
    EXPECT_EQ(80, DeriveLowLightParams(75).contrastBase);
    EXPECT_EQ(175, DeriveLowLightParams(75).contrastStrength);
    EXPECT_FLOAT_EQ(2.0f, DeriveLowLightParams(75).gamma);
}

TEST(LowLightParams, UpperStrengthsRaiseTheGammaThenBoth) {
    EXPECT_FLOAT_EQ(2.5f, DeriveLowLightParams(80).gamma);
    EXPECT_EQ(80, DeriveLowLightParams(90).contrastBase);
    EXPECT_FLOAT_EQ(3.5f, DeriveLowLightParams(90).gamma);
    const LowLightParams p = DeriveLowLightParams(100);
    EXPECT_FLOAT_EQ(3.5f, p.gamma);
    EXPECT_EQ(90, p.contrastBase);
    EXPECT_EQ(200, p.contrastStrength);
}

TEST(LowLightParams, MappingOfTheContrastStrength) {
    EXPECT_EQ(0, MapLowLightContrast(0));
    EXPECT_EQ(98, MapLowLightContrast(49));
    EXPECT_EQ(100, MapLowLightContrast(50));
    EXPECT_EQ(197, MapLowLightContrast(89));  // (890 - 500) / 4 + 100
    EXPECT_EQ(200, MapLowLightContrast(90));
}

TEST(LowLightParams, UncheckedStrengthsFollowTheFormulasWithoutOverflow) {
    EXPECT_EQ(50, DeriveLowLightParams(-40).contrastBase);
    EXPECT_LT(DeriveLowLightParams(-40).gamma, 0.0f);  // the gamma table takes it as 1
    EXPECT_EQ(INT_MAX, DeriveLowLightParams(INT_MAX).contrastStrength);
    EXPECT_EQ(INT_MAX - 10, DeriveLowLightParams(INT_MAX).contrastBase);
    EXPECT_EQ(INT_MIN, MapLowLightContrast(INT_MIN));
}

}  // namespace
