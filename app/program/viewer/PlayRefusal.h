#pragma once
// What the user is told when a clip cannot be played: the file it is, and whether it did not answer
// (a damaged file the platform hangs on) or was refused.
#include <windows.h>

void TellClipCannotPlay(HWND owner, const char* path, bool didNotAnswer);
