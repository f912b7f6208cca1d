#pragma once
// The scroll panel's arithmetic: where a scroll code moves a bar, and where the view stands after the
// view or the window changed size. Platform-neutral.
namespace qel_controls {

// The scroll bar codes (the system's numbers).
enum ScrollCode {
    kLineLeft = 0,
    kLineRight = 1,
    kPageLeft = 2,
    kPageRight = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kLeft = 6,
    kRight = 7,
};

// The position a scroll code leads to on a bar of this maximum and page; other codes keep pos, and so
// does every code on a bar with nothing to scroll (maximum 0).
int ScrolledPosition(int pos, int code, int thumb, int scrollMax, int page);

// One axis of the panel after a resize, for an axis whose view does not fit: the new position for the
// bar's new maximum (viewExtent - 1) and page (visible), keeping the view's middle in place when asked,
// clamped to the scrollable span.
int RescrolledPosition(int pos, int oldMax, int viewExtent, int visible, bool keepRelative);

} // namespace qel_controls
