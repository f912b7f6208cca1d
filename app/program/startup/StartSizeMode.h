#pragma once
// The size mode the program starts in, and where its window goes. The mode the user chose is kept when
// its window fits the screen's work area; otherwise the other mode is taken when that one fits (a
// netbook's or a remote session's small screen); where neither fits, the chosen one, at the work area's
// top left. The chosen mode stays in the settings all the same: on a larger screen it comes back.
#include <windows.h>

// saved: the chosen mode (0 large, 1 small); windows: the window of each mode; workArea: its size.
int ChooseStartSizeMode(int saved, const SIZE windows[2], SIZE workArea);

// The start mode for the skin, the user's settings and the screen in place.
int StartSizeMode();

// The primary screen's work area (the screen without the task bar).
RECT ScreenWorkArea();

// The window's top left in the work area: centred on each side where it fits, at the work area's edge
// where it does not, so its top left corner (the title-bar band) always lies on the screen.
POINT WindowPlace(SIZE window, const RECT& workArea);
