#pragma once
// The album strip of a running program as the screen shows it: its items by child id, where they
// are, and whether one is framed as selected.
#include <windows.h>

namespace programtest {

// The thumbnail of the item with this child id (8000 the top one), or null.
HWND FindItem(HWND dialog, int id);
RECT ScreenRectOf(HWND window);
// The item's picture (its centre) and its frame (red while selected).
COLORREF Centre(HWND item);
bool FramedRed(HWND item);

} // namespace programtest
