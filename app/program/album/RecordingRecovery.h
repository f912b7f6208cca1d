#pragma once
// Finishing a recording that a crash or a kill cut short, when the album finds it: the frames that
// reached the disk become a playable file. Runs on the scan's thread, never on the window's.
#include <windows.h>

// Finishes path when it is an AVI the file sink marked unfinished; any other file, or one another
// process holds open (a recording still going), is left exactly as it was. TRUE when it was finished.
BOOL FinishCutShortRecording(const char* path);
