#pragma once
// Small pieces of dialog handling that the effect plug-ins' property pages share.
#include <windows.h>
#include <commctrl.h>

namespace qelpage {

// Shows a whole number in a dialog control.
void ShowNumber(HWND page, int id, int value);

// The number typed into an edit control (0 where there is none), bounded to [minimum, maximum];
// bounded tells whether the typed number lay outside and was replaced by the nearer limit.
struct TypedNumber {
    int value;
    bool bounded;
};
TypedNumber ReadBoundedNumber(HWND page, int id, int minimum, int maximum);

// Sets a trackbar's range, page step and position, redrawing it once the range is complete.
void SetUpTrackbar(HWND trackbar, int minimum, int maximum, int pageStep, int position);

// Whether a WM_HSCROLL from a trackbar reports the end of a move (the position rides in the high
// word of a thumb-position notification, so only the low word names the notification).
inline bool IsFinishedMove(WPARAM wParam) {
    const WORD code = LOWORD(wParam);
    return code == TB_THUMBPOSITION || code == TB_ENDTRACK;
}

} // namespace qelpage
