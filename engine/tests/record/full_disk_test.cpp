// Recordings onto a small disk that fills up: with no minimum free space, and with minimums the
// watch acts on, the recording ends like the low-disk stop, the host hears of it once, the preview
// comes back, and the file is a complete AVI holding exactly the frames the engine counted.
#include "record_fixture.h"

#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

#include <string>

namespace recordtest {
namespace {

// The small disk the test run mounts (a tmpfs), as this process names it through Wine's Z: drive.
std::wstring SmallDiskFolder() {
    std::wstring folder = L"Z:";
    for (const char c : std::string(QEL_SMALL_DISK))
        folder += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return folder + L"\\";
}

class FullDiskTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        qeltest::Watchdog::ExtendCurrentTest(90);
        disk = SmallDiskFolder();
        ULARGE_INTEGER available = {}, total = {};
        if (!GetDiskFreeSpaceExW(disk.c_str(), &available, &total, nullptr) || total.QuadPart > kLargestSmallDisk)
            GTEST_SKIP() << "no small disk is mounted at " << QEL_SMALL_DISK
                         << " (the test run mounts a tmpfs there only when it runs as root)";
        RemoveLeftovers();
    }
    void TearDown() override {
        for (const std::wstring& file : files)
            DeleteFileW(file.c_str());
        RecordTest::TearDown();
    }

    // Files an interrupted run left would fill the disk before the recording starts.
    void RemoveLeftovers() const {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((disk + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((disk + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::wstring FileOnDisk(const wchar_t* name) {
        files.push_back(disk + name);
        return files.back();
    }
    // Records until the capture ends by itself, then checks how it ended and the file.
    void ExpectRecordingEndsAsLowDisk(const std::wstring& file) {
        engine->SetRecordFileType(RECORD_AVI);
        int status = -1;
        ASSERT_TRUE(engine->StartCapture(&status));
        ASSERT_TRUE(qeltest::PumpUntil([&] { return engine->GetClassState() != LIVE_CAPTURING; }, 60000))
            << "the disk filled and the recording went on";
        qeltest::PumpMessagesFor(500);   // any late second notice would arrive by now
        EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
        EXPECT_EQ(1, TimesHostHeard(WM_LIVECAP_LOWDISK));
        EXPECT_EQ(0, TimesHostHeard(WM_LIVECAP_ERRORABORT));
        EXPECT_EQ(0, TimesHostHeard(WM_LIVECAP_FILELIMIT));
        for (const auto& received : host.Notifications())
            if (received.message == WM_LIVECAP_LOWDISK) {
                EXPECT_EQ(0u, received.wParam);
                EXPECT_EQ(1, received.lParam);
            }
        const int delivered = FramesOfLastCapture();
        EXPECT_GT(delivered, 0);
        ExpectWholeRecording(file, delivered, true);
    }

    static constexpr ULONGLONG kLargestSmallDisk = 64ull << 20;
    std::wstring disk;
    std::vector<std::wstring> files;
};

TEST_F(FullDiskTest, WithoutAMinimumTheFullDiskEndsTheRecordingWithACompleteFile) {
    const std::wstring file = FileOnDisk(L"full.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    ExpectRecordingEndsAsLowDisk(file);

    // The engine records again once there is room.
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    const std::wstring next = FileOnDisk(L"again.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(next.c_str()));
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(WaitForFrames(3));
    ASSERT_TRUE(engine->StopCapture());
    ExpectWholeRecording(next, FramesOfLastCapture(), true);
}

class FullDiskMinimumTest : public FullDiskTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(FullDiskMinimumTest, TheMinimumEndsTheRecordingThroughTheLowDiskPath) {
    const std::wstring file = FileOnDisk(L"minimum.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    ASSERT_TRUE(engine->SetMinFreeSpace(GetParam(), 50));
    ExpectRecordingEndsAsLowDisk(file);
}

INSTANTIATE_TEST_SUITE_P(Megabytes, FullDiskMinimumTest, ::testing::Values(1u, 10u));

} // namespace
} // namespace recordtest
