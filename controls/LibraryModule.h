#pragma once
// The control library's own module: where its cursors, dialog template and window class live.
#include <windows.h>

namespace qel_controls {

HINSTANCE LibraryModule();

} // namespace qel_controls
