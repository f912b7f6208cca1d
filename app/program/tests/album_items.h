#pragma once
// The album strip's items as a test finds them on the screen: by child id, where they are, and the
// red frame a selected one shows.
#include <windows.h>

#include "screen_probe.h"

namespace programtest {

// The album item with this child id (8000 + its place when it was added), or null.
inline HWND FindItem(HWND dialog, int id) {
    struct Search {
        int id;
        HWND found;
    } search = {id, nullptr};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) == s->id)
                s->found = child;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Whether the item shows the red frame of a selected one.
inline bool FramedRed(HWND item) {
    const RECT r = ScreenRectOf(item);
    return ScreenPixel(r.left, (r.top + r.bottom) / 2) == RGB(255, 0, 0);
}

} // namespace programtest
