// The transition table: wipe values, the four transforms, and types outside the table.
#include "TransitionTable.h"

#include <gtest/gtest.h>

namespace {

using qeltrim::TransitionKind;

TEST(TransitionTable, WipeRowsCarryTheirMaskAndReplication) {
    const qeltrim::TransitionRow first = qeltrim::TransitionForType(0);
    EXPECT_EQ(TransitionKind::kSmpteWipe, first.kind);
    EXPECT_EQ(41, first.maskNum);
    const qeltrim::TransitionRow eight = qeltrim::TransitionForType(8);
    EXPECT_EQ(61, eight.maskNum);
    EXPECT_EQ(2, eight.replicateX);
    EXPECT_EQ(1, eight.replicateY);
    const qeltrim::TransitionRow thirteen = qeltrim::TransitionForType(13);
    EXPECT_EQ(TransitionKind::kSmpteWipe, thirteen.kind);
    EXPECT_EQ(-1, thirteen.maskNum);
    EXPECT_EQ(74, qeltrim::TransitionForType(21).maskNum);
    EXPECT_EQ(-1, qeltrim::TransitionForType(23).maskNum);
}

TEST(TransitionTable, FourTypesAreTransformsWithoutProperties) {
    for (int type : {9, 10, 20, 22})
        EXPECT_EQ(TransitionKind::kTransform, qeltrim::TransitionForType(type).kind) << type;
    EXPECT_EQ(0x3F69F351u, qeltrim::TransitionForType(22).transform.data1);
    EXPECT_EQ(0x4CCEA634u, qeltrim::TransitionForType(9).transform.data1);
    EXPECT_EQ(0x9Du, qeltrim::TransitionForType(10).transform.data4[7]);
    EXPECT_EQ(0x0BA9u, qeltrim::TransitionForType(20).transform.data2);
}

TEST(TransitionTable, TypesOutsideTheTableDoNothing) {
    EXPECT_EQ(TransitionKind::kNone, qeltrim::TransitionForType(-1).kind);
    EXPECT_EQ(TransitionKind::kNone, qeltrim::TransitionForType(24).kind);
    EXPECT_EQ(TransitionKind::kNone, qeltrim::TransitionForType(-2147483647 - 1).kind);
}

} // namespace
