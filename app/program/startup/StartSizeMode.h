#pragma once
// The size mode the program starts in, and where its window goes. The mode the user chose is kept when
// its window fits the screen's work area; otherwise the other mode is taken when that one fits (a
// netbook's or a remote session's small screen); where neither fits, the one with the smaller window, at
// the work area's top left, so that as much of it as can be lies on the screen. The chosen mode stays
// in the settings all the same: on a larger screen it comes back.
#include <windows.h>

// saved: the chosen mode (0 large, 1 small); windows: the window of each mode; workArea: its size.
int ChooseStartSizeMode(int saved, const SIZE windows[2], SIZE workArea);

// The start mode for the skin, the user's settings and the screen in place.
int StartSizeMode();

// The primary screen's work area (the screen without the task bar).
RECT ScreenWorkArea();

// The window's top left in the work area: centred where it fits, at the work area's top left where it
// does not, so its title-bar band and the buttons along it lie on the screen.
POINT WindowPlace(SIZE window, const RECT& workArea);
