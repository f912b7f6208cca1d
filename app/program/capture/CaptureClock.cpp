#include "CaptureClock.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFileLimitMB = 2048;  // the AVI writer's 2 GB
constexpr int kMinimumFreeMB = 101; // below this the disk counts as full

} // namespace

CaptureClockTick ReadCaptureClock(int limitCapture, int captureTime, int elapsedSeconds, int startFreeMB,
                                  int freeMB) {
    CaptureClockTick tick;
    tick.shownSeconds = limitCapture ? std::max(captureTime - elapsedSeconds, 0) : elapsedSeconds;
    tick.usedMB = startFreeMB - freeMB;
    tick.limitReached = limitCapture && tick.shownSeconds < 1;
    tick.fileTooLarge = tick.usedMB >= kFileLimitMB;
    tick.diskLow = freeMB < kMinimumFreeMB;
    return tick;
}

std::string FormatRecordingClock(int shownSeconds, int usedMB) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d / %04d MB ", shownSeconds / 3600, shownSeconds / 60 % 60,
                  shownSeconds % 60, usedMB);
    return text;
}

std::string FormatIdleClock() {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d / %04d MB", 0, 0, 0, 0);
    return text;
}
