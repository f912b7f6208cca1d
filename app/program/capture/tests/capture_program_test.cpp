// The capture panel in the real program: a recording stopped by its clock, single and interval
// snapshots, the camera-button keys, the engine's notifications as the engine sends them, and a
// TempStorage where nothing can be created.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "album_items.h"
#include "bmp_file.h"
#include "capture_fixture.h"
#include "program_windows.h"
#include "screen_probe.h"
#include "test_frame_pattern.h"

namespace programtest {
namespace {

size_t DistinctColours(const RECT& screenRect) {
    const ScreenPixels pixels = GrabScreen(screenRect);
    std::set<uint32_t> colours;
    const size_t stride = static_cast<size_t>(qelcam::Rgb24Stride(pixels.width));
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const uint8_t* p = &pixels.bytes[y * stride + x * 3];
            colours.insert(p[0] | p[1] << 8 | p[2] << 16);
        }
    return colours.size();
}

// The camera frame number a snapshot BMP holds; false when it holds no camera frame.
bool SnapshotFrameNumber(const std::string& path, uint32_t* number) {
    qelmedia::Bmp24 image;
    std::string why;
    if (!qelmedia::ParseBmp24(qelmedia::ReadWholeFile(path), &image, &why))
        return false;
    const int height = image.bottomUp ? image.height : -image.height;
    return qelcam::ReadFrameNumber(image.rows.data(), image.width, height, qelcam::Rgb24Stride(image.width), number);
}

TEST_F(Capture, ARecordingCountsDownStopsByItselfAndTopsTheAlbum) {
    auto run = StartWith({{"LimitCapture", "1"}, {"Capture Time", "0:03"}}, true);
    ASSERT_TRUE(run->Dialog());
    HWND dialog = run->Dialog();
    Click(dialog, kRecord);
    std::vector<std::string> clock;
    const bool stopped = PumpUntil(*run, 15000, [&] {
        const std::string now = Text(run->Control(kClock));
        if (clock.empty() || clock.back() != now)
            clock.push_back(now);
        return clock.size() > 1 && ::IsWindowVisible(run->Control(kRecord)) &&
               !::IsWindowVisible(run->Control(kStop));
    });
    ASSERT_TRUE(stopped) << "the recording did not stop by itself";
    // The megabytes are the disk's free space taken since the start, which other writers on this
    // machine move too: the time and the format are what is certain.
    const auto counting = std::find_if(clock.begin(), clock.end(), [](const std::string& text) {
        return text.rfind("00:00:02 / ", 0) == 0 && text.size() >= 19 && text.compare(text.size() - 4, 4, " MB ") == 0;
    });
    EXPECT_NE(counting, clock.end()) << "the clock counts down from the limit; seen: " << ::testing::PrintToString(clock);
    run->Pump(500); // the stop resets the label last
    EXPECT_EQ("00:00:00 / 0000 MB", Text(run->Control(kClock))) << "the clock is reset at the stop";
    const std::string file = Videos(*run) + "\\DREM0001.AVI";
    ASSERT_TRUE(FileExists(file)) << "videos: " << ::testing::PrintToString(FilesIn(Videos(*run), "*"))
                                  << ", clock: " << ::testing::PrintToString(clock);
    ExpectCameraFramesInOrder(file);

    run->Pump(1500); // the thumbnail comes from the reader at the first paint
    HWND top = FindItem(dialog, 8000);
    ASSERT_TRUE(top) << "the recording is not in the album";
    EXPECT_TRUE(FramedRed(top)) << "the new recording is selected";
    const RECT r = ScreenRectOf(top);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_recorded").c_str());
    // A camera frame is a field of gradients; the stand-ins ("badthumb.png", a red block) are a few colours.
    EXPECT_GT(DistinctColours(r), 200u) << "the thumbnail is not a frame of the clip";
    EXPECT_NE(3, ButtonFrame(*run, 1014, "email.png"));
    EXPECT_NE(3, ButtonFrame(*run, 1017, "trash.png"));
    EXPECT_NE(3, ButtonFrame(*run, 1011, "saveas.png"));
    EXPECT_NE(3, ButtonFrame(*run, 1010, "switch.png"));
    CloseInOrder(*run);
    EXPECT_EQ("2", run->IniValue("NameDefine", "VideoCount"));
    EXPECT_TRUE(run->Boxes().empty());
}

// The recording's graph carries a preview of its own, and the stop builds the preview graph again: the
// new picture fills the area alone, with no picture of the recording's graph left over a corner of it.
TEST_F(Capture, AfterARecordingTheLivePictureFillsThePreviewAreaAlone) {
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    const RECT preview = PreviewOnScreen(*run, 0);
    std::string why;
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kStop)) != FALSE; }));
    const bool filledWhileRecording = WaitForPictureFillingArea(*run, preview, 5000, &why);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_recording_picture").c_str());
    EXPECT_TRUE(filledWhileRecording) << "while recording: " << why << "; windows over the area: "
                                      << WindowsOver(*run, preview);
    Click(run->Dialog(), kStop);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }));
    // The first frames after the stop may still come from the recording's graph: give the new one time.
    run->Pump(1500);
    const bool filled = WaitForPictureFillingArea(*run, preview, 5000, &why);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_after_recording").c_str());
    EXPECT_TRUE(filled) << "after the recording: " << why << "; windows over the area: " << WindowsOver(*run, preview);
    uint32_t first = 0, later = 0;
    ASSERT_TRUE(ReadPreviewFrameNumber(preview, &first));
    run->Pump(1000);
    ASSERT_TRUE(ReadPreviewFrameNumber(preview, &later));
    EXPECT_GT(later, first) << "the picture after the recording is not live";
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, ASingleSnapshotWritesACameraFrameOnTopOfTheAlbum) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    Click(run->Dialog(), kRecord);
    const std::string file = Pictures(*run) + "\\DREM0001.BMP";
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return FindItem(run->Dialog(), 8000) != nullptr; }))
        << "the snapshot never reached the album";
    uint32_t frame = 0;
    EXPECT_TRUE(SnapshotFrameNumber(file, &frame));
    EXPECT_TRUE(::IsWindowVisible(run->Control(kRecord))) << "a single snapshot never sets recording";
    CloseInOrder(*run);
    EXPECT_EQ("2", run->IniValue("NameDefine", "ImageCount"));
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, AnIntervalSeriesSnapshotsEverySecondUntilStop) {
    auto run = StartWith({{"Interval Time", "0:01"}}, false);
    ASSERT_TRUE(run->Dialog());
    Click(run->Dialog(), kInterval);
    Click(run->Dialog(), kRecord);
    run->Pump(3500);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kStop)));
    Click(run->Dialog(), kStop);
    run->Pump(1500);
    const std::vector<std::string> files = FilesIn(Pictures(*run), "DREM*.BMP");
    EXPECT_GE(files.size(), 2u);
    EXPECT_LE(files.size(), 4u);
    uint32_t previous = 0;
    for (const std::string& name : files) {
        uint32_t frame = 0;
        ASSERT_TRUE(SnapshotFrameNumber(Pictures(*run) + "\\" + name, &frame)) << name;
        EXPECT_GT(frame, previous) << name;
        previous = frame;
    }
    run->Pump(1500);
    EXPECT_EQ(files.size(), FilesIn(Pictures(*run), "DREM*.BMP").size()) << "Stop ended the series";
    EXPECT_TRUE(::IsWindowVisible(run->Control(kRecord)));
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, ZoomKeyStepsTheLevelAndCloseSavesIt) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    SendKey(*run, 72, 0);
    SendKey(*run, 72, 0);
    run->Pump(500);
    CloseInOrder(*run);
    EXPECT_EQ("1", run->IniValue("Enhance", "Zoom"));
    EXPECT_EQ("2", run->IniValue("Enhance", "ZoomValue"));

    run->SetIniValue("Enhance", "Zoom", "0");
    run->SetIniValue("Enhance", "ZoomValue", "0");
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    for (int i = 0; i < 5; ++i)
        SendKey(*run, 72, 0);
    run->Pump(500);
    CloseInOrder(*run);
    EXPECT_EQ("0", run->IniValue("Enhance", "Zoom"));
    EXPECT_EQ("0", run->IniValue("Enhance", "ZoomValue")) << "five steps come back to level 0";
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, CaptureKeySnapshotsInSnapshotModeAndTogglesARecordingInVideoMode) {
    auto run = StartWith({{"LimitCapture", "0"}}, false);
    ASSERT_TRUE(run->Dialog());
    SendKey(*run, 71, 0);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return FileExists(Pictures(*run) + "\\DREM0001.BMP"); }));
    Click(run->Dialog(), kVideoMode);
    SendKey(*run, 71, 0);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kStop)) != FALSE; }))
        << "key 71 starts a recording";
    run->Pump(1500);
    SendKey(*run, 71, 0);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }))
        << "key 71 stops it";
    EXPECT_TRUE(FileExists(Videos(*run) + "\\DREM0001.AVI"));
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, AudioKeyShowsMuteThenVoice) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    SendKey(*run, 118, 1);
    run->Pump(300);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kMute)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(kVoice)));
    SendKey(*run, 118, 0);
    run->Pump(300);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kVoice)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(kMute)));
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, VoiceAndMuteSwitchTheButtonsWithoutAMixerSwitch) {
    // Wine's mixer has no microphone line: the program starts muted and nothing else would tell it.
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    ASSERT_TRUE(::IsWindowVisible(run->Control(kMute)));
    Click(run->Dialog(), kMute);
    run->Pump(300);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kVoice)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(kMute)));
    Click(run->Dialog(), kVoice);
    run->Pump(300);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kMute)));
    CloseInOrder(*run);
}

TEST_F(Capture, SwitchDuringARecordingSaysStopFirstAndTheRecordingGoesOn) {
    constexpr int kSwitchMode = 1010;
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kStop)) != FALSE; }));
    run->ExpectBox("Zentrik", "Please stop recording before switch to preview mode.");
    ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kSwitchMode, BN_CLICKED), 0);
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty());
    EXPECT_TRUE(::IsWindowVisible(run->Control(kStop))) << "the recording stopped or the mode changed";
    Click(run->Dialog(), kStop);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }));
    CloseInOrder(*run);
}

TEST_F(Capture, FileLimitStopsWhateverRunsAndSaysTwoGigabytes) {
    auto run = StartWith({{"Interval Time", "0:05"}}, false);
    ASSERT_TRUE(run->Dialog());
    run->ExpectBox("Error", "File size is over 2GB.  Stop recording.");
    Click(run->Dialog(), kInterval);
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 5000, [&] { return ::IsWindowVisible(run->Control(kStop)) != FALSE; }));
    ::PostMessageA(run->Dialog(), kFileLimit, 0, 0); // the stream's end says "2GB" too
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty());
    EXPECT_TRUE(::IsWindowVisible(run->Control(kRecord)));
    CloseInOrder(*run);
}

TEST_F(Capture, ErrorAbortChangesNothingOnThePanel) {
    auto run = StartWith({}, true);
    ASSERT_TRUE(run->Dialog());
    const std::string clock = Text(run->Control(kClock));
    ::PostMessageA(run->Dialog(), kErrorAbort, 0, 0);
    run->Pump(500);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kRecord)));
    EXPECT_EQ(clock, Text(run->Control(kClock)));
    EXPECT_TRUE(run->Running());
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, DeviceLostSaysSoAndClosesInOrder) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    SendKey(*run, 72, 0); // a zoom level that only the orderly close writes
    run->ExpectBox("Error", "Device Error! Tavorin will close.");
    ::PostMessageA(run->Dialog(), kDeviceLost, 0, 0);
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty());
    EXPECT_EQ(0u, run->WaitForExit(10000));
    EXPECT_EQ("1", run->IniValue("Enhance", "ZoomValue")) << "[Enhance] written by the Close";
}

TEST_F(Capture, TheCameraLostForRealSaysSoAndClosesInOrder) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    SendKey(*run, 72, 0);
    run->Pump(500);
    run->ExpectBox("Error", "Device Error! Tavorin will close.");
    ASSERT_TRUE(CameraReachable(*run)) << "the program shows another camera than the test's";
    ASSERT_EQ(S_OK, Camera().RaiseDeviceLost());
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty());
    EXPECT_EQ(0u, run->WaitForExit(10000));
    EXPECT_EQ("1", run->IniValue("Enhance", "ZoomValue")) << "[Enhance] written by the Close";
}

TEST_F(Capture, AGraphErrorFromTheCameraChangesNothingOnThePanel) {
    auto run = StartWith({}, true);
    ASSERT_TRUE(run->Dialog());
    const std::string clock = Text(run->Control(kClock));
    ASSERT_TRUE(CameraReachable(*run)) << "the program shows another camera than the test's";
    ASSERT_EQ(S_OK, Camera().RaiseErrorAbort());
    run->Pump(1000);
    EXPECT_TRUE(::IsWindowVisible(run->Control(kRecord)));
    EXPECT_EQ(clock, Text(run->Control(kClock)));
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, AMotionWatchSnapshotsOnceWhenThePictureChangesAndGoesOn) {
    auto run = StartWith({}, false);
    ASSERT_TRUE(run->Dialog());
    ASSERT_TRUE(CameraReachable(*run)) << "the program shows another camera than the test's";
    ASSERT_EQ(S_OK, Camera().HoldFrame(100));
    run->Pump(500);
    Click(run->Dialog(), kAuto);
    Click(run->Dialog(), kRecord);
    run->Pump(2000);
    EXPECT_TRUE(FilesIn(Pictures(*run), "DREM*.BMP").empty()) << "a still picture is no motion";
    EXPECT_TRUE(::IsWindowVisible(run->Control(kStop)));

    ASSERT_EQ(S_OK, Camera().HoldFrame(5000));
    EXPECT_TRUE(PumpUntil(*run, 5000, [&] { return !FilesIn(Pictures(*run), "DREM*.BMP").empty(); }))
        << "the changed picture took no snapshot";
    run->Pump(2500);
    const std::vector<std::string> files = FilesIn(Pictures(*run), "DREM*.BMP");
    EXPECT_EQ(1u, files.size()) << "one snapshot, then a new reference frame";
    uint32_t frame = 0;
    if (!files.empty()) {
        EXPECT_TRUE(SnapshotFrameNumber(Pictures(*run) + "\\" + files[0], &frame));
        EXPECT_EQ(5000u, frame);
    }
    EXPECT_TRUE(::IsWindowVisible(run->Control(kStop))) << "the watch goes on";

    SendKey(*run, 71, 0);
    EXPECT_TRUE(PumpUntil(*run, 3000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }))
        << "key 71 ends the watch";
    Camera().ReleaseHold();
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Capture, RecordWithTempStorageAPlainFileOnlySaysTheFolderIsReadOnly) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    run.SetIniValue("MergeSetting", "SaveFileType", "0");
    {
        HANDLE file = ::CreateFileA((run.Folder() + "TempStorage").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ::CloseHandle(file);
    }
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    run.ExpectBox("Error", "\"Sorry !! This folder is read only, can't create any file in here.\"");
    Click(run.Dialog(), kVideoMode);
    Click(run.Dialog(), kRecord);
    run.WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    run.Pump(500);
    EXPECT_TRUE(FilesIn(run.Folder() + "videos", "*").size() <= 2u) << "only . and ..";
    EXPECT_TRUE(::IsWindowVisible(run.Control(kRecord)));
    CloseInOrder(run);
}

} // namespace
} // namespace programtest
