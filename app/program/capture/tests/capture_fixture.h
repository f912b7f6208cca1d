#pragma once
// What the capture panel's tests share: the panel's control ids and the engine's notices, posted
// clicks and keys, the captures' folders and files, and the fixture that starts the real program on a
// camera and a microphone of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "program_fixture.h"

namespace programtest {

inline constexpr int kStop = 1009, kRecord = 1061, kVideoMode = 1066, kAuto = 1064, kInterval = 1065;
inline constexpr int kVoice = 1008, kMute = 1031, kClock = 1026, kClose = 1021;
inline constexpr UINT kFileLimit = 0x432, kDeviceLost = 0x433, kErrorAbort = 0x434, kLowDisk = 0x435;

// Posted, as a click is: a command that shows a box must not hold the test in SendMessage.
void Click(HWND dialog, int id);
void SendKey(const ZentrikRun& run, WPARAM key, LPARAM value);
std::string Text(HWND window);

// Pumps until done() or ms have passed; done()'s last answer.
template <typename Done> bool PumpUntil(ZentrikRun& run, DWORD ms, Done done) {
    const DWORD end = ::GetTickCount() + ms;
    while (!done()) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return done();
        run.Pump(50);
    }
    return true;
}

bool FileExists(const std::string& path);
// Files of the folder matching the pattern, in name order.
std::vector<std::string> FilesIn(const std::string& folder, const char* pattern);
// Every stored frame of a recorded AVI carries a camera frame number, rising frame by frame.
void ExpectCameraFramesInOrder(const std::string& path);
// Which frame of its 4-frame strip a push button shows; 3 is "disabled".
int ButtonFrame(const ZentrikRun& run, int id, const char* strip);
// Waits, without answering it, until the program shows a box; false when none showed within ms.
bool WaitForBoxLeftUnanswered(const ZentrikRun& run, DWORD ms);
// The preview area shows the camera's live picture: frame numbers that rise.
void ExpectLivePicture(ZentrikRun& run, const RECT& preview);
POINT CentreOf(HWND window);

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

} // namespace programtest
