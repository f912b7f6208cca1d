#include "page_controls.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace qelpage {

void ShowNumber(HWND page, int id, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(page, id, text);
}

TypedNumber ReadBoundedNumber(HWND page, int id, int minimum, int maximum) {
    char text[261] = {};
    GetDlgItemTextA(page, id, text, sizeof text);
    const long typed = std::strtol(text, nullptr, 10);
    if (typed < minimum)
        return {minimum, true};
    if (typed > maximum)
        return {maximum, true};
    return {static_cast<int>(typed), false};
}

void SetUpTrackbar(HWND trackbar, int minimum, int maximum, int pageStep, int position) {
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, maximum);
    SendMessageA(trackbar, TBM_SETPAGESIZE, 0, pageStep);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

} // namespace qelpage
