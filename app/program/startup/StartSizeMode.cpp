#include "StartSizeMode.h"

#include "MainDlg.h"
#include "SkinWindow.h"

namespace {

bool Fits(SIZE window, SIZE area) { return window.cx <= area.cx && window.cy <= area.cy; }

LONG PlaceOnSide(LONG window, LONG low, LONG high) {
    const LONG room = high - low;
    return window < room ? low + ((room - window) >> 1) : low;
}

} // namespace

int ChooseStartSizeMode(int saved, const SIZE windows[2], SIZE workArea) {
    const int chosen = saved ? 1 : 0;
    if (Fits(windows[chosen], workArea))
        return chosen;
    return Fits(windows[1 - chosen], workArea) ? 1 - chosen : chosen;
}

RECT ScreenWorkArea() {
    RECT area = {};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || area.right <= area.left || area.bottom <= area.top)
        area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

int StartSizeMode() {
    const SIZE windows[2] = {SkinWindowSize(0), SkinWindowSize(1)};
    const RECT area = ScreenWorkArea();
    return ChooseStartSizeMode(ReadSizeMode(), windows, SIZE{area.right - area.left, area.bottom - area.top});
}

POINT WindowPlace(SIZE window, const RECT& workArea) {
    return POINT{PlaceOnSide(window.cx, workArea.left, workArea.right),
                 PlaceOnSide(window.cy, workArea.top, workArea.bottom)};
}
