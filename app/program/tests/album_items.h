#pragma once
// The album strip's items as a test finds them on the screen: by child id, where they are, and the
// red frame a selected one shows.
#include <windows.h>

#include "program_windows.h"
#include "screen_probe.h"

namespace programtest {

// The album item with this child id (8000 + its place when it was added), or null.
inline HWND FindItem(HWND dialog, int id) { return FindChildById(dialog, id); }

// The item's picture (its centre).
inline COLORREF Centre(HWND item) {
    const RECT r = ScreenRectOf(item);
    return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Whether the item shows the red frame of a selected one.
inline bool FramedRed(HWND item) {
    const RECT r = ScreenRectOf(item);
    return ScreenPixel(r.left, (r.top + r.bottom) / 2) == RGB(255, 0, 0);
}

} // namespace programtest
