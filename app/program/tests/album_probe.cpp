#include "album_probe.h"

#include "screen_probe.h"

namespace programtest {

HWND FindItem(HWND dialog, int id) {
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

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

COLORREF Centre(HWND item) {
    const RECT r = ScreenRectOf(item);
    return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool FramedRed(HWND item) {
    const RECT r = ScreenRectOf(item);
    return ScreenPixel(r.left, (r.top + r.bottom) / 2) == RGB(255, 0, 0);
}

} // namespace programtest
