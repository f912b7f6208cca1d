// The capture panel in the real program: a recording stopped by its clock, single and interval
// snapshots, the camera-button keys, the engine's notifications as the engine sends them, and a
// TempStorage where nothing can be created.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "album_items.h"
#include "bmp_file.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "riff_reader.h"
#include "screen_probe.h"
#include "small_disk.h"
#include "test_frame_pattern.h"
#include "x_pointer.h"

namespace programtest {
namespace {

constexpr int kStop = 1009, kRecord = 1061, kVideoMode = 1066, kAuto = 1064, kInterval = 1065;
constexpr int kVoice = 1008, kMute = 1031, kClock = 1026, kClose = 1021;
constexpr UINT kFileLimit = 0x432, kDeviceLost = 0x433, kErrorAbort = 0x434, kLowDisk = 0x435;

// Posted, as a click is: a command that shows a box must not hold the test in SendMessage.
void Click(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void SendKey(const ZentrikRun& run, WPARAM key, LPARAM value) {
    ::PostMessageA(run.Frame(), ::RegisterWindowMessageA("QEL_ZENTRIK_MESSAGE"), key, value);
}

std::string Text(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Pumps until done() or ms have passed; done()'s last answer.
template <typename Done>
bool PumpUntil(ZentrikRun& run, DWORD ms, Done done) {
    const DWORD end = ::GetTickCount() + ms;
    while (!done()) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return done();
        run.Pump(50);
    }
    return true;
}

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

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Files of the folder matching the pattern, in name order.
std::vector<std::string> FilesIn(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
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

// Every stored frame of a recorded AVI carries a camera frame number, rising frame by frame.
void ExpectCameraFramesInOrder(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const rifftest::AviSummary avi =
        rifftest::ReadAviFile(std::wstring(path.begin(), path.end()), &bytes);
    ASSERT_TRUE(avi.riffAvi);
    EXPECT_TRUE(avi.complete);
    EXPECT_TRUE(avi.hasIndex);
    ASSERT_GT(avi.storedFrames, 1u);
    const size_t stride = static_cast<size_t>(qelcam::Rgb24Stride(avi.width));
    uint32_t previous = 0;
    for (size_t i = 0; i < avi.frameOffsets.size(); ++i) {
        uint32_t number = 0;
        ASSERT_LE(avi.frameOffsets[i] + stride * static_cast<size_t>(std::abs(avi.height)), bytes.size());
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[i]], avi.width, avi.height,
                                            static_cast<ptrdiff_t>(stride), &number))
            << "stored frame " << i;
        if (i > 0) {
            EXPECT_GT(number, previous) << "stored frame " << i;
        }
        previous = number;
    }
}

// Which frame of its 4-frame strip a push button shows; 3 is "disabled".
int ButtonFrame(const ZentrikRun& run, int id, const char* strip) {
    return ShownStripFrame(run.Control(id), run.Folder() + "skin\\default\\Zentrik\\buttons\\" + strip, 4);
}

// Waits, without answering it, until the program shows a box; false when none showed within ms.
bool WaitForBoxLeftUnanswered(const ZentrikRun& run, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (VisibleTopLevelWindows(run.ProcessId(), "#32770").empty()) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return false;
        ::Sleep(20);
    }
    return true;
}

// The preview area shows the camera's live picture: frame numbers that rise.
void ExpectLivePicture(ZentrikRun& run, const RECT& preview) {
    uint32_t first = 0, later = 0;
    EXPECT_TRUE(WaitForFrameNumber(run, preview, &first, 5000)) << "no camera picture in the preview area";
    run.Pump(1000);
    EXPECT_TRUE(ReadPreviewFrameNumber(preview, &later));
    EXPECT_GT(later, first) << "the picture is not live";
}

class Capture : public ProgramTest {
protected:
    // A program with its captures in its own folder; video mode when asked, recording video-only AVI.
    std::unique_ptr<ZentrikRun> StartWith(std::initializer_list<std::pair<const char*, const char*>> mode,
                                          bool video) {
        AddCamera();
        AddMicrophone();
        auto run = std::make_unique<ZentrikRun>();
        run->SetIniValue("MergeSetting", "SaveFileType", "0");
        run->SetIniValue("Format", "Image FileType", "0");
        for (const auto& [key, value] : mode)
            run->SetIniValue("Mode", key, value);
        EXPECT_TRUE(run->Start());
        EXPECT_TRUE(run->WaitForMainWindow(30000)) << "no main window";
        if (video && run->Dialog()) {
            Click(run->Dialog(), kVideoMode);
            run->Pump(300);
        }
        return run;
    }
    // Whether the camera's controls see its instance in the program's process.
    bool CameraReachable(ZentrikRun& run) {
        return PumpUntil(run, 10000, [&] { return Camera().LiveInstances() > 0; });
    }
    std::string Videos(const ZentrikRun& run) const { return run.Folder() + "videos"; }
    std::string Pictures(const ZentrikRun& run) const { return run.Folder() + "pictures"; }

    bool Recording(const ZentrikRun& run) const {
        return ::IsWindowVisible(run.Control(kStop)) && !::IsWindowVisible(run.Control(kRecord));
    }
    // Close, and the program ends in order.
    void CloseInOrder(ZentrikRun& run) {
        Click(run.Dialog(), kClose);
        EXPECT_EQ(0u, run.WaitForExit(10000));
    }
};

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

// The engine's free-space watch goes on reporting a full disk: a run of notices, and more while the box
// is up, give one box; the recording is stopped whole and listed, and the live picture comes back.
TEST_F(Capture, LowDiskNoticesDuringARecordingStopItWithOneBoxAndACompleteListedFile) {
    auto run = StartWith({{"LimitCapture", "0"}}, true);
    ASSERT_TRUE(run->Dialog());
    const RECT preview = PreviewOnScreen(*run, 0);
    run->ExpectBox("Error", "Insufficient disk space");
    Click(run->Dialog(), kRecord);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); }));
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
    EXPECT_TRUE(PumpUntil(*run, 5000, [&] { return ::IsWindowVisible(run->Control(kRecord)) != FALSE; }));
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
    ASSERT_TRUE(PumpUntil(run, 10000, [&] { return Recording(run); })) << "boxes: " << run.Boxes().size();
    // The box left up as long as a user reads it: the clock ticks on behind it.
    ASSERT_TRUE(WaitForBoxLeftUnanswered(run, 60000)) << "the full drive did not stop the recording";
    ::Sleep(2500);
    EXPECT_EQ(1u, VisibleTopLevelWindows(run.ProcessId(), "#32770").size()) << "boxes over boxes";
    EXPECT_TRUE(PumpUntil(run, 10000, [&] { return !Recording(run); }));
    run.Pump(3000); // the notices and clock ticks that come after
    ASSERT_EQ(1u, run.Boxes().size()) << "one event, one box";
    std::printf("the stop was said by: %s\n", run.Boxes()[0].text.c_str());
    EXPECT_TRUE(FindItem(run.Dialog(), 8000)) << "the recording is listed";
    ExpectCameraFramesInOrder(videos + "\\DREM0001.AVI");
    ExpectLivePicture(run, PreviewOnScreen(run, 0));
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_full_drive_stopped").c_str());
    CloseInOrder(run);
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

POINT CentreOf(HWND window) {
    const RECT r = ScreenRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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
        ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); })) << "a single click on Record did not record";
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
        ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); })) << "the double click did not stop";
        run->Pump(2000);
        ASSERT_FALSE(Recording(*run)) << "the second click started a new recording";
        EXPECT_EQ(recordings, FilesIn(Videos(*run), "DREM*.AVI").size())
            << ::testing::PrintToString(FilesIn(Videos(*run), "*.AVI"));
    }
    clickRecordAfterTheDoubleClickTime();
    run->Pump(1000);
    Click(run->Dialog(), kStop);
    EXPECT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); }));
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
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return Recording(*run); }));
    run->Pump(1500);
    const POINT stop = CentreOf(run->Control(kStop));
    ::SetCursorPos(stop.x, stop.y);
    run->Pump(200);
    const DWORD stamp = ::GetTickCount();
    StampedClick(stamp);
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return !Recording(*run); })) << "the click did not stop";
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
        SCOPED_TRACE("round " + std::to_string(round) + ", Stop " + std::to_string(clickAfterMs) + " ms after Record");
        const size_t before = FilesIn(Pictures(*run), "DREM*.BMP").size();
        Click(run->Dialog(), kRecord);
        ASSERT_TRUE(PumpUntil(*run, 5000, [&] { return Recording(*run); })) << "the watch did not start";
        run->Pump(clickAfterMs);
        ASSERT_TRUE(XHeldClickAt(CentreOf(run->Control(kStop)), kHoldMs, &why)) << why;
        const bool ended = PumpUntil(*run, 5000, [&] { return !Recording(*run); });
        if (!ended)
            std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_watch_not_ended").c_str());
        ASSERT_TRUE(ended) << "Stop did not end the watch";
        // A snapshot the watch took just before the click may still be on its way to the disk.
        run->Pump(500);
        const size_t atStop = FilesIn(Pictures(*run), "DREM*.BMP").size();
        snapshotsBeforeStop += static_cast<int>(atStop - before);
        run->Pump(800); // three grabs of a watch still running
        ASSERT_EQ(atStop, FilesIn(Pictures(*run), "DREM*.BMP").size()) << "snapshots went on after Stop";
        ASSERT_TRUE(ShowsStripRatherThan(run->Control(kRecord), buttons + "record.png", buttons + "stoprecord.png", 4))
            << "Record is not drawn";
        ASSERT_NE(3, ButtonFrame(*run, kSetup, "setup.png")) << "Setup still refused";
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_watch_stopped").c_str());
    std::printf("%d snapshots were taken in %d watches before their Stop\n", snapshotsBeforeStop, kRounds);
    EXPECT_GT(snapshotsBeforeStop, 0) << "the watch never fired: the clicks met no snapshot";
    CloseInOrder(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

} // namespace
} // namespace programtest
