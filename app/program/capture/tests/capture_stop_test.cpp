// The capture panel's Stop as a user meets it: a disk that fills up during a recording (the engine's
// notices, a small drive of its own), a double click on Stop through the X server, and Stop clicked at
// any moment of a motion watch.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "album_items.h"
#include "capture_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"
#include "small_disk.h"
#include "x_pointer.h"

namespace programtest {
namespace {

// The engine's free-space watch goes on reporting a full disk: a run of notices, and more while the box
// is up, give one box; the recording is stopped whole and listed, and the live picture comes back.
TEST_F(Capture, LowDiskNoticesDuringARecordingStopItWithOneBoxAndACompleteListedFile) {
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    const RECT preview = PreviewOnScreen(*run, 0);
    run->ExpectBox("Error", "Insufficient disk space");
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); })) << "no recording within 10 s";
    run->Pump(1500);
    for (int i = 0; i < 5; ++i)
        ::PostMessageA(run->Dialog(), kLowDisk, 0, 1); // as the engine's free-space watch does
    // Held unanswered for a while: what arrives meanwhile is dispatched by the box's own loop.
    ASSERT_TRUE(WaitForBoxLeftUnanswered(*run, 10000)) << "no box within 10 s";
    for (int i = 0; i < 5; ++i)
        ::PostMessageA(run->Dialog(), kLowDisk, 0, 1);
    ::Sleep(1500);
    EXPECT_EQ(1u, VisibleTopLevelWindows(run->ProcessId(), "#32770").size()) << "boxes over boxes";
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty());
    run->Pump(1500); // any further box is answered, and counted, here
    EXPECT_EQ(1u, run->Boxes().size()) << "one event, one box";
    EXPECT_TRUE(PumpUntil(*run, 5000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }))
        << "Record not back within 5 s";
    EXPECT_TRUE(FindItem(run->Dialog(), 8000)) << "the recording is listed";
    ExpectCameraFramesInOrder(Videos(*run) + "\\DREM0001.AVI");
    ExpectLivePicture(*run, preview);
    CloseInOrder(*run);
}

// A small drive filling up during a recording, which the engine's watch, the graph's writer and the
// recording clock all see: one box says the recording stopped, and the file is whole and listed.
TEST_F(Capture, ASmallDriveFillingUpStopsTheRecordingWithOneBox) {
    constexpr int kDiskMB = 160; // the recording may start above the 100 MB minimum
    ScopedSmallDisk disk(kDiskMB);
    if (!disk.Failure().empty())
        GTEST_SKIP() << disk.Failure();
    const std::string videos = disk.Root() + "videos";
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr)) << videos;
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    run.SetIniValue("MergeSetting", "SaveFileType", "0");
    run.SetIniValue("Mode", "LimitCapture", "0");
    run.SetIniValue("Basic", "Video Folder", videos.c_str());
    run.ExpectBox("Error", "Insufficient disk space");
    run.ExpectBox("Error", "The disk free space is 100MB, stop capturing.");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    Click(run.Dialog(), kVideoMode);
    run.Pump(300);
    Click(run.Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(run, 10000, [&] { return Recording(run); }))
        << "no recording within 10 s; boxes: " << run.Boxes().size();
    // The box left up as long as a user reads it: the clock ticks on behind it.
    ASSERT_TRUE(WaitForBoxLeftUnanswered(run, 60000))
        << "the full drive did not stop the recording within 60 s";
    ::Sleep(2500);
    EXPECT_EQ(1u, VisibleTopLevelWindows(run.ProcessId(), "#32770").size()) << "boxes over boxes";
    EXPECT_TRUE(PumpUntil(run, 10000, [&] { return !Recording(run); })) << "Record not back within 10 s";
    run.Pump(3000); // the notices and clock ticks that come after
    ASSERT_EQ(1u, run.Boxes().size()) << "one event, one box";
    std::printf("the stop was said by: %s\n", run.Boxes()[0].text.c_str());
    EXPECT_TRUE(FindItem(run.Dialog(), 8000)) << "the recording is listed";
    ExpectCameraFramesInOrder(videos + "\\DREM0001.AVI");
    ExpectLivePicture(run, PreviewOnScreen(run, 0));
    std::printf("screenshot: %s\n",
                SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_full_drive_stopped").c_str());
    CloseInOrder(run);
}

// A user's double click on Stop through the X server: the second click lands on Record, which takes
// Stop's place, and starts nothing, quick or slow; a click on Record after the double-click time records.
TEST_F(Capture, ADoubleClickOnStopThroughTheXServerStartsNoNewRecording) {
    std::string why;
    if (!XPointerAvailable(&why))
        GTEST_SKIP() << why;
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    const auto clickRecordAfterTheDoubleClickTime = [&] {
        run->Pump(::GetDoubleClickTime() + 100);
        ASSERT_TRUE(XClickAt(CentreOf(run->Control(kRecord)), 1, 0, &why)) << why;
        ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); }))
            << "a single click on Record did not record within 10 s";
    };
    size_t recordings = 0;
    for (int pauseMs : {60, 250}) {
        SCOPED_TRACE("clicks " + std::to_string(pauseMs) + " ms apart");
        clickRecordAfterTheDoubleClickTime();
        ++recordings;
        run->Pump(1500);
        // As a user's hand does: onto Stop from aside, a rest there, then the double click.
        const POINT stop = CentreOf(run->Control(kStop));
        ASSERT_TRUE(XMoveTo({stop.x, stop.y - 60}, &why)) << why;
        run->Pump(300);
        ASSERT_TRUE(XMoveTo(stop, &why)) << why;
        run->Pump(1000);
        ASSERT_TRUE(XClickAt(stop, 2, pauseMs, &why)) << why;
        ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); }))
            << "the double click did not stop within 10 s";
        run->Pump(2000);
        ASSERT_FALSE(Recording(*run)) << "the second click started a new recording";
        EXPECT_EQ(recordings, FilesIn(Videos(*run), "DREM*.AVI").size())
            << ::testing::PrintToString(FilesIn(Videos(*run), "*.AVI"));
    }
    clickRecordAfterTheDoubleClickTime();
    run->Pump(1000);
    Click(run->Dialog(), kStop);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); })) << "Stop did not stop within 10 s";
    run->Pump(500);
    EXPECT_EQ(recordings + 1, FilesIn(Videos(*run), "DREM*.AVI").size());
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

// A press and release at the pointer, stamped with the given time as an input path stamps it.
void StampedClick(DWORD stamp) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    inputs[0].mi.time = inputs[1].mi.time = stamp;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// Input paths stamp clicks from their own clocks: the second click of a double click on Stop, stamped
// a little before the first, starts nothing either.
TEST_F(Capture, ARecordClickStampedBeforeTheStopClickStartsNothing) {
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); })) << "no recording within 10 s";
    run->Pump(1500);
    const POINT stop = CentreOf(run->Control(kStop));
    ::SetCursorPos(stop.x, stop.y);
    run->Pump(200);
    const DWORD stamp = ::GetTickCount();
    StampedClick(stamp);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); }))
        << "the click did not stop within 10 s";
    StampedClick(stamp - 40);
    run->Pump(1500);
    EXPECT_FALSE(Recording(*run)) << "the second click started a new recording";
    EXPECT_EQ(1u, FilesIn(Videos(*run), "DREM*.AVI").size());
    if (Recording(*run))
        Click(run->Dialog(), kStop);
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

// Every motion snapshot starts the watch again; a user's click on Stop ends the watch at whatever step
// it comes: the panel is then stopped (Record drawn, Setup usable) and no snapshot follows.
TEST_F(Capture, StopEndsAMotionWatchAtAnyMomentOfItsSnapshots) {
    constexpr int kRounds = 50, kSetup = 10053;
    constexpr unsigned kGuardSeconds = 240; // about 2 s a round
    constexpr int kHoldMs = 100;            // a user's click: a snapshot may come between press and release
    std::string why;
    if (!XPointerAvailable(&why))
        GTEST_SKIP() << why;
    std::printf("hang guard: %u s\n", kGuardSeconds);
    qeltest::Watchdog::ExtendCurrentTest(kGuardSeconds);
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    Click(run->Dialog(), kAuto);
    run->Pump(300);
    const std::string buttons = run->Folder() + "skin\\default\\Zentrik\\buttons\\";
    int snapshotsBeforeStop = 0;
    for (int round = 0; round < kRounds; ++round) {
        // The moments spread over two cycles of the watch (a 250 ms grab, then the snapshot and restart).
        const DWORD clickAfterMs = static_cast<DWORD>(round * 20);
        SCOPED_TRACE("round " + std::to_string(round) + ", Stop " + std::to_string(clickAfterMs) +
                     " ms after Record");
        const size_t before = FilesIn(Pictures(*run), "DREM*.BMP").size();
        Click(run->Dialog(), kRecord);
        ASSERT_TRUE(PumpUntil(*run, 5000, [&] { return Recording(*run); }))
            << "the watch did not start within 5 s";
        run->Pump(clickAfterMs);
        ASSERT_TRUE(XHeldClickAt(CentreOf(run->Control(kStop)), kHoldMs, &why)) << why;
        const bool ended = PumpUntil(*run, 5000, [&] { return !Recording(*run); });
        if (!ended)
            std::printf("screenshot: %s\n",
                        SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_watch_not_ended").c_str());
        ASSERT_TRUE(ended) << "Stop did not end the watch within 5 s";
        // A snapshot the watch took just before the click may still be on its way to the disk.
        run->Pump(500);
        const size_t atStop = FilesIn(Pictures(*run), "DREM*.BMP").size();
        snapshotsBeforeStop += static_cast<int>(atStop - before);
        run->Pump(800); // three grabs of a watch still running
        ASSERT_EQ(atStop, FilesIn(Pictures(*run), "DREM*.BMP").size()) << "snapshots went on after Stop";
        ASSERT_TRUE(ShowsStripRatherThan(run->Control(kRecord), buttons + "record.png",
                                         buttons + "stoprecord.png", 4))
            << "Record is not drawn";
        ASSERT_NE(3, ButtonFrame(*run, kSetup, "setup.png")) << "Setup still refused";
    }
    std::printf("screenshot: %s\n",
                SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_watch_stopped").c_str());
    std::printf("%d snapshots were taken in %d watches before their Stop\n", snapshotsBeforeStop, kRounds);
    EXPECT_GT(snapshotsBeforeStop, 0) << "the watch never fired: the clicks met no snapshot";
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

} // namespace
} // namespace programtest
