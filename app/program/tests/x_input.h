#pragma once
// Input as the user makes it: pointer moves and clicks through the X server of the test's display
// (xdotool, a host program started through Wine's start /unix), not messages posted to a window.
#include <windows.h>

#include <string>

namespace programtest {

// Whether xdotool can be started here; why not, when it cannot.
bool XInputAvailable(std::string* why);
// Moves the pointer to the screen point and clicks the left button clicks times; false when
// xdotool did not run or did not end within 10 s.
bool XClickAt(POINT screen, int clicks = 1);
// The same at the centre of a window.
bool XClick(HWND window, int clicks = 1);

} // namespace programtest
