#pragma once
// Ids of the main dialog's timers. Only one capture timer (clock, motion, interval) runs at a time.
#include <windows.h>

constexpr UINT_PTR kMirrorTimer = 0x12340;         // 500 ms mirror poll
constexpr UINT_PTR kRecordingClockTimer = 0x12345; // 1 s recording clock
constexpr UINT_PTR kMotionTimer = 0x12346;         // 250 ms frame grab of a motion watch
constexpr UINT_PTR kIntervalTimer = 0x12347;       // one snapshot of an interval series
