#include "TabLook.h"

namespace qel_controls {

int TabFrameIndex(const ButtonState& state) {
    if (!state.enabled)
        return state.useDisableLook ? state.disableLook : (state.checked ? 3 : 4);
    if (state.checked)
        return 0; // a selected tab keeps its frame under the pointer
    return state.hover ? 2 : 1;
}

} // namespace qel_controls
