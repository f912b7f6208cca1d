#pragma once
// The viewer's plain rules: the time label, the seek slider's position, the band of the window that
// drags it, and the texts of the information labels.
#include <windows.h>

#include <string>

// Whole seconds of a time in 100-ns units (truncated).
long long WholeSeconds(double time100ns);

// "hh:mm:ss / hh:mm:ss" of a position and a duration (100-ns units).
std::string PlayTimeText(double position, double duration);

// The seek slider's position (0..100) of a position within a duration; false for a duration of 0,
// which leaves the slider where it is.
bool SeekSliderPos(double position, double duration, int* pos);

// The playback position (100-ns units) a seek slider position stands for.
double SeekPosition(int sliderPos, double duration);

// The top band that drags the borderless window: 191 pixels high, its sides slanting inwards by 16.
bool InDragBand(int x, int y);

// The size label's "n KB", rounded up to whole kilobytes.
std::string FileSizeKbText(ULONGLONG bytes);

// The date label's "yyyy/mm/d" of a local time.
std::string FileDateText(const SYSTEMTIME& local);

// The pixel-size label in live mode: in video mode "WxH" clamped to 640x480 once either side exceeds
// it, otherwise "WXH" as the camera gives it.
std::string CaptureSizeText(int width, int height, BOOL videoMode);

// The date text of live mode: "%4d/%2d/%2d" of today.
std::string CurrentDateText();
