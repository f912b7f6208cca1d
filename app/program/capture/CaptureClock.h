#pragma once
// The recording clock of the capture panel: what its label shows each second and which of the three
// stop rules (time limit, 2 GB written, under 101 MB free) a tick meets. Platform-neutral.
#include <string>

struct CaptureClockTick {
    int shownSeconds = 0; // elapsed, or with the limit the seconds left (never below 0)
    int usedMB = 0;       // megabytes the recording has taken from the disk so far
    bool limitReached = false;
    bool fileTooLarge = false;
    bool diskLow = false;
};

// One tick: limitCapture and captureTime from the settings, seconds since the start, free megabytes
// of the video folder's disk at the start and now.
CaptureClockTick ReadCaptureClock(int limitCapture, int captureTime, int elapsedSeconds, int startFreeMB,
                                  int freeMB);

// The clock label while recording: "hh:mm:ss / nnnn MB " (with its trailing blank).
std::string FormatRecordingClock(int shownSeconds, int usedMB);
// The clock label at rest: "00:00:00 / 0000 MB".
std::string FormatIdleClock();
