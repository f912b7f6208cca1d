// The start-up checks as Wine answers them, and the Windows Media runtime key read both ways.
#include <gtest/gtest.h>

#include "SystemChecks.h"
#include "zentrik_run.h"

namespace {

TEST(SystemChecks, WineIsALaterNtSystem) {
    int osClass = -1;
    GetOsClass(&osClass);
    EXPECT_EQ(4, osClass) << "Wine reports Windows 6.1 with Service Pack 1";
    GetOsClass(nullptr); // nothing to fill: no crash
}

TEST(SystemChecks, DirectXLevelsOtherThanEightAndNineAreRefused) {
    EXPECT_EQ(0x900u, GetDirectXLevel()) << "Wine loads D3D9";
    EXPECT_TRUE(IsDirectXLevelPresent(0x800));
    EXPECT_TRUE(IsDirectXLevelPresent(0x900));
    EXPECT_FALSE(IsDirectXLevelPresent(0x700));
    EXPECT_FALSE(IsDirectXLevelPresent(0xA00));
    EXPECT_FALSE(IsDirectXLevelPresent(0));
}

TEST(SystemChecks, TheMediaRuntimeCountsOnlyFromVersionNine) {
    {
        programtest::ScopedWmfKey absent(false);
        EXPECT_FALSE(IsWmf9RuntimeInstalled());
    }
    {
        programtest::ScopedWmfKey present(true);
        EXPECT_TRUE(IsWmf9RuntimeInstalled());
    }
}

} // namespace
