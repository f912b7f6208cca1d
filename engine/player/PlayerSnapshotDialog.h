#pragma once
// The save-file dialog of the player's stills.
#include <windows.h>

// Asks the user for a file to save (overwrite prompt, read-only box hidden, no parent window) with the
// given default extension and a double-zero-terminated filter; false when cancelled.
bool AskSnapshotFileName(const char* defaultExtension, const char* filter, char (&chosen)[MAX_PATH]);
