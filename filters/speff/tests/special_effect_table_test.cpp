// The page's effect table: rows by effect and the strength bounds of each.
#include <gtest/gtest.h>

#include "core/effect_factory.h"
#include "core/special_effect_table.h"

namespace {

TEST(SpecialEffectTable, OneRowPerEffectInIndexOrderAfterTheNeutralOne) {
    for (int row = 0; row < kSpecialEffectRowCount; ++row) {
        EXPECT_EQ(row - 1, kSpecialEffectRows[row].effectIndex);
        EXPECT_EQ(1016 + row, kSpecialEffectRows[row].stringId);
        EXPECT_EQ(CreateEffect(row - 1)->EffectIndex(), kSpecialEffectRows[row].effectIndex);
    }
}

TEST(SpecialEffectTable, RowsForEffectsAndTheFallback) {
    EXPECT_EQ(0, FindSpecialEffectRow(-1, 3));
    EXPECT_EQ(8, FindSpecialEffectRow(7, 0));
    EXPECT_EQ(3, FindSpecialEffectRow(9, 3));   // not in the table: the row stays
    EXPECT_EQ(0, FindSpecialEffectRow(-5, 0));
}

TEST(SpecialEffectTable, StrengthIsBoundedByTheRow) {
    const SpecialEffectRow& mosaic = kSpecialEffectRows[FindSpecialEffectRow(6, 0)];
    EXPECT_EQ(8, mosaic.defaultStrength);
    EXPECT_EQ(16, BoundToRow(mosaic, 50));
    EXPECT_EQ(2, BoundToRow(mosaic, 1));
    const SpecialEffectRow& swirl = kSpecialEffectRows[FindSpecialEffectRow(7, 0)];
    EXPECT_EQ(-100, BoundToRow(swirl, -150));
    EXPECT_EQ(0, swirl.defaultStrength);
    EXPECT_EQ(1, kSpecialEffectRows[FindSpecialEffectRow(1, 0)].strengthUsed);
    EXPECT_EQ(0, kSpecialEffectRows[FindSpecialEffectRow(8, 0)].strengthUsed);
}

}  // namespace
