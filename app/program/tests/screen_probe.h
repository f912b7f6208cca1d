#pragma once
// What the screen shows: rectangles of pixels, the synthetic camera's frame number read from them, a
// skin strip's frame matched against a control, and screenshots kept for a look.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace programtest {

// Top-down rows of blue, green, red; each row Rgb24Stride(width) bytes.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
};

ScreenPixels GrabScreen(const RECT& screenRect);
COLORREF ScreenPixel(int x, int y);
// The camera's frame number in that part of the screen; false when no band reads there.
bool ReadFrameNumberOnScreen(const RECT& screenRect, uint32_t* frame);
// The same of a negative picture: read after turning every colour over.
bool ReadInvertedFrameNumberOnScreen(const RECT& screenRect, uint32_t* frame);
// Which frame of the skin strip (frames side by side) the control shows: the closest one, or -1 when
// the strip cannot be read.
int ShownStripFrame(HWND control, const std::string& stripPng, int frames);
// Whether the control's place on the screen looks more like a frame of shownPng than like any of
// otherPng (two buttons sharing one place: which one is drawn there).
bool ShowsStripRatherThan(HWND control, const std::string& shownPng, const std::string& otherPng, int frames);
// Saves what the screen shows of the rectangle as a BMP under the screenshot folder; its path.
std::string SaveScreenshot(const RECT& screenRect, const std::string& name);

} // namespace programtest
