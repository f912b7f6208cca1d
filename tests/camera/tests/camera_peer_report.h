#pragma once
// What the camera peer (camera_peer.exe, a second process that runs a graph around a synthetic camera)
// reports to the test that started it, through a named shared block the test makes: the frames it
// received, the graph events and the driver states it saw. The test sets `quit` to end it.
#include <windows.h>

namespace cameratest {

constexpr int kPeerFramesKept = 2048;
constexpr const char kPeerProgram[] = "camera_peer.exe";
// In place of a camera name: the peer opens the first camera listed, as a program with no camera
// chosen does.
constexpr const wchar_t kFirstListedCamera[] = L"*";

enum PeerState : LONG { kPeerStarting = 0, kPeerRunning = 1, kPeerEnded = 2 };

struct PeerFrame {
    LONG decoded;
    ULONG number;
    LONG timed;
    LONGLONG start;
};

struct PeerReport {
    volatile LONG state;   // PeerState
    volatile LONG result;  // how building and running the graph went
    volatile LONG frames;  // frame[0, frames) are filled
    volatile LONG devicesLost;
    volatile LONG deviceLostParam2;
    volatile LONG errorAborts;
    volatile LONG errorAbortParam1;
    volatile LONG mirrored;     // what ICameraFlipStatus reports, -1 when it cannot
    volatile LONG buttonState;  // what ICameraButtonState reports, -1 when it cannot
    volatile LONG quit;
    PeerFrame frame[kPeerFramesKept];
};

}  // namespace cameratest
