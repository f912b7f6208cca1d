#pragma once
// Where a tile list goes in its group box: inside the box's frame, below its title and left of a control
// the box also holds on its right (the effect list's scroll bar), centred there. A list larger than
// that room starts at its top-left, so it never covers the title.
#include <windows.h>

// The room inside box (client coordinates) for a title of titleHeight; rightEdge, when it lies inside the
// box, ends the room on the right (a scroll bar's left edge).
RECT GroupInside(const RECT& box, int titleHeight, int rightEdge);
// How much wider and taller the room must grow to hold a list of this size (0 where it fits).
SIZE GrowthToHold(const RECT& inside, SIZE list);
RECT PlaceListIn(const RECT& inside, SIZE list);
