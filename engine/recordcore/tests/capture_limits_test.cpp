// Boundaries of the recording limits and the Windows Media choices.
#include "CaptureLimits.h"

#include <gtest/gtest.h>

namespace {

using qelrec::WmfVersionChoice;

TEST(CaptureLimits, FreeSpaceEqualToTheMinimumPassesOneByteLessFails) {
    EXPECT_TRUE(qelrec::IsFreeSpaceEnough(104857600, 104857600));
    EXPECT_FALSE(qelrec::IsFreeSpaceEnough(104857599, 104857600));
    EXPECT_TRUE(qelrec::IsFreeSpaceEnough(0, 0));
    // Unsigned 64-bit: sizes beyond 4 GB compare whole.
    EXPECT_TRUE(qelrec::IsFreeSpaceEnough(0x100000000ull, 0xFFFFFFFFull));
    EXPECT_FALSE(qelrec::IsFreeSpaceEnough(0xFFFFFFFFull, 0x100000000ull));
}

TEST(CaptureLimits, TwoGigabytesEndTheCaptureOneByteLessDoesNot) {
    EXPECT_TRUE(qelrec::HasReachedFileSizeLimit(2147483648ull));
    EXPECT_FALSE(qelrec::HasReachedFileSizeLimit(2147483647ull));
    EXPECT_TRUE(qelrec::HasReachedFileSizeLimit(2147483649ull));
    // The high part counts: a file of 4 GB plus a little is far past the limit, not below it.
    EXPECT_TRUE(qelrec::HasReachedFileSizeLimit(0x100000010ull));
    EXPECT_FALSE(qelrec::HasReachedFileSizeLimit(0));
    EXPECT_TRUE(qelrec::HasReachedFileSizeLimit(4096, 4096));
    EXPECT_FALSE(qelrec::HasReachedFileSizeLimit(4095, 4096));
}

// A free-space watch as the recording and the render arm it: the check is asked in bytes.
struct WatchSettings {
    std::uint64_t minimum = 7;
    std::uint32_t polling = 9;
    std::uint64_t asked = 0;
    bool Arm(bool busy, std::uint32_t megabytes, std::uint32_t intervalMs, std::uint64_t freeBytes) {
        auto check = [this, freeBytes](std::uint64_t bytes) {
            asked = bytes;
            return qelrec::IsFreeSpaceEnough(freeBytes, bytes);
        };
        return qelrec::ArmFreeSpaceWatch(busy, megabytes, intervalMs, check, minimum, polling);
    }
};

TEST(CaptureLimits, FreeSpaceWatchIsKeptOnlyWhenTheDiskHasTheMinimumNow) {
    WatchSettings armed;
    EXPECT_TRUE(armed.Arm(false, 5, 250, 5 * 1048576ull));
    EXPECT_EQ(5 * 1048576ull, armed.asked);
    EXPECT_EQ(5 * 1048576ull, armed.minimum);
    EXPECT_EQ(250u, armed.polling);

    WatchSettings tooFull;
    EXPECT_FALSE(tooFull.Arm(false, 5, 250, 5 * 1048576ull - 1));
    EXPECT_EQ(0u, tooFull.minimum); // a disk already too full disarms the watch
    EXPECT_EQ(0u, tooFull.polling);
}

TEST(CaptureLimits, FreeSpaceWatchIsRefusedWhileBusyOrWithoutIntervalAndChangesNothing) {
    for (const bool busy : {true, false}) {
        WatchSettings refused;
        EXPECT_FALSE(refused.Arm(busy, 5, busy ? 250 : 0, ~0ull));
        EXPECT_EQ(0u, refused.asked) << busy; // the disk is not even asked
        EXPECT_EQ(7u, refused.minimum) << busy;
        EXPECT_EQ(9u, refused.polling) << busy;
    }
}

TEST(CaptureLimits, MegabytesBecomeBytesWithoutOverflow) {
    EXPECT_EQ(104857600ull, qelrec::MegabytesToBytes(100));
    EXPECT_EQ(4294967295ull * 1048576ull, qelrec::MegabytesToBytes(4294967295u));
}

TEST(CaptureLimits, CaptureDirectoryKeepsItsBackslash) {
    EXPECT_EQ(L"C:\\video\\", qelrec::CaptureDirectoryOf(L"C:\\video\\clip0001.avi"));
    EXPECT_EQ(L"C:\\", qelrec::CaptureDirectoryOf(L"C:\\clip.avi"));
    EXPECT_EQ(L"C:\\a\\b\\", qelrec::CaptureDirectoryOf(L"C:\\a\\b\\"));
    EXPECT_EQ(L"", qelrec::CaptureDirectoryOf(L"outavi"));
    EXPECT_EQ(L"", qelrec::CaptureDirectoryOf(L""));
}

TEST(WmfVersionChoice, RangeEndsAndNamedVersions) {
    EXPECT_EQ(WmfVersionChoice::kInvalid, qelrec::ChooseWmfVersion(0x3FF).choice);
    EXPECT_EQ(WmfVersionChoice::kInvalid, qelrec::ChooseWmfVersion(0x901).choice);
    EXPECT_EQ(WmfVersionChoice::kInvalid, qelrec::ChooseWmfVersion(0).choice);
    EXPECT_EQ(WmfVersionChoice::kNone, qelrec::ChooseWmfVersion(0x500).choice);
    EXPECT_EQ(WmfVersionChoice::kNone, qelrec::ChooseWmfVersion(0x401).choice);
    EXPECT_EQ(WmfVersionChoice::kNone, qelrec::ChooseWmfVersion(0x8FF).choice);
    const std::uint32_t requested[] = {0x400, 0x700, 0x800, 0x900};
    const std::uint32_t set[] = {0x40000, 0x70000, 0x80000, 0x90000};
    for (int i = 0; i < 4; ++i) {
        const qelrec::WmfVersion version = qelrec::ChooseWmfVersion(requested[i]);
        EXPECT_EQ(WmfVersionChoice::kSet, version.choice) << std::hex << requested[i];
        EXPECT_EQ(set[i], version.version) << std::hex << requested[i];
    }
}

TEST(SystemProfileForQuality, OneAndTwoPickTheirOwnEverythingElseTheThird) {
    EXPECT_EQ(0, qelrec::SystemProfileIndexForQuality(1));
    EXPECT_EQ(1, qelrec::SystemProfileIndexForQuality(2));
    EXPECT_EQ(2, qelrec::SystemProfileIndexForQuality(100));
    EXPECT_EQ(2, qelrec::SystemProfileIndexForQuality(0));
    EXPECT_EQ(2, qelrec::SystemProfileIndexForQuality(-1));
    EXPECT_EQ(2, qelrec::SystemProfileIndexForQuality(3));
}

TEST(OsVersionKind, TableOfVersions) {
    const std::uint32_t nt = qelrec::kPlatformWin32Nt;
    EXPECT_EQ(3, qelrec::ClassifyOsVersion(nt, 5, 0, 2195));   // Windows 2000
    EXPECT_EQ(4, qelrec::ClassifyOsVersion(nt, 5, 0, 2196));
    EXPECT_EQ(4, qelrec::ClassifyOsVersion(nt, 5, 1, 2600));   // XP
    EXPECT_EQ(4, qelrec::ClassifyOsVersion(nt, 5, 2, 3790));
    EXPECT_EQ(4, qelrec::ClassifyOsVersion(nt, 6, 0, 0));
    EXPECT_EQ(4, qelrec::ClassifyOsVersion(nt, 10, 0, 19045));
    EXPECT_EQ(3, qelrec::ClassifyOsVersion(nt, 4, 0, 1381));   // NT 4
    EXPECT_EQ(3, qelrec::ClassifyOsVersion(nt, 4, 99, 9999));
    EXPECT_EQ(1, qelrec::ClassifyOsVersion(1, 4, 10, 2222));   // the consumer line below minor 90
    EXPECT_EQ(1, qelrec::ClassifyOsVersion(1, 4, 89, 0));
    EXPECT_EQ(2, qelrec::ClassifyOsVersion(1, 4, 90, 3000));
    EXPECT_EQ(2, qelrec::ClassifyOsVersion(0, 4, 95, 0));
}

} // namespace
