#pragma once
// The test's side of the camera peer: starts camera_peer.exe (from the test's own folder) on a camera,
// reads what it reports, and ends it cleanly or, to stand for a crash, by force.
#include <windows.h>

#include <string>
#include <vector>

#include "camera_peer_report.h"

namespace cameratest {

class CameraPeer {
public:
    CameraPeer();
    ~CameraPeer();
    CameraPeer(const CameraPeer&) = delete;
    CameraPeer& operator=(const CameraPeer&) = delete;

    // Starts the peer on the camera listed under cameraName; S_OK once its graph runs, else how it failed.
    HRESULT Start(const std::wstring& cameraName);
    // Asks it to stop its graph and end; true when it ended in time.
    bool Quit();
    // Ends it at once, as a crash would: its cameras are never released.
    void Kill();

    // What it reported (a snapshot).
    std::vector<PeerFrame> Frames() const;
    const PeerReport& Report() const { return *report_; }
    // Waits until it has received `count` frames in all.
    bool WaitForFrames(size_t count, DWORD timeoutMs) const;
    // Waits until a reported value satisfies `done`.
    template <typename Done>
    bool WaitFor(Done done, DWORD timeoutMs) const {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (!done(*report_)) {
            if (GetTickCount64() >= end)
                return false;
            Sleep(5);
        }
        return true;
    }

private:
    void Close();

    std::wstring blockName_;
    HANDLE mapping_ = nullptr;
    PeerReport* report_ = nullptr;
    PROCESS_INFORMATION process_ = {};
};

}  // namespace cameratest
