#pragma once
// Which frame of a five-frame tab strip shows: 0 selected, 1 not selected, 2 hover over a tab that is
// not selected, 3 disabled and selected, 4 disabled and not selected (or the disable look, when used).
#include "ButtonLook.h"

namespace qel_controls {

// The tab is selected when state.checked is set; a press (state.selected) changes nothing by itself.
int TabFrameIndex(const ButtonState& state);

} // namespace qel_controls
