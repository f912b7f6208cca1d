#include "StartSizeMode.h"

#include "MainDlg.h"
#include "SkinWindow.h"

namespace {

bool Fits(SIZE window, SIZE area) { return window.cx <= area.cx && window.cy <= area.cy; }


} // namespace

int ChooseStartSizeMode(int saved, const SIZE windows[2], SIZE workArea) {
    const int chosen = saved ? 1 : 0;
    const int other = 1 - chosen;
    if (Fits(windows[chosen], workArea))
        return chosen;
    if (Fits(windows[other], workArea))
        return other;
    const auto area = [](SIZE size) { return static_cast<long long>(size.cx) * size.cy; };
    return area(windows[other]) < area(windows[chosen]) ? other : chosen;
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
    const SIZE room = {workArea.right - workArea.left, workArea.bottom - workArea.top};
    if (!Fits(window, room))
        return POINT{workArea.left, workArea.top};
    return POINT{workArea.left + ((room.cx - window.cx) >> 1), workArea.top + ((room.cy - window.cy) >> 1)};
}
