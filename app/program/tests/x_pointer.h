#pragma once
// The pointer driven through the X server with xdotool, as a user's mouse is: the events take the
// display's own path into Wine (button presses and releases with the server's times), which SendInput
// does not. Runs on the test's own display (DISPLAY, set by xvfb-run).
#include <windows.h>

#include <string>

namespace programtest {

// Whether xdotool can be started here; why not in *why.
bool XPointerAvailable(std::string* why);
// Moves the pointer to the screen point; returns once xdotool has finished.
bool XMoveTo(POINT at, std::string* why);
// Moves the pointer to the screen point and clicks the left button count times, pauseMs between the
// clicks; returns once xdotool has finished (false, with why, when it failed or did not end within 10 s).
bool XClickAt(POINT at, int count, int pauseMs, std::string* why);
// One click at the centre of a window.
bool XClick(HWND window, std::string* why);
// One click held down holdMs, as a finger holds it (xdotool's own click lets go at once).
bool XHeldClickAt(POINT at, int holdMs, std::string* why);

} // namespace programtest
