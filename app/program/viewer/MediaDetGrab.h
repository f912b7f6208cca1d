#pragma once
// A still of a clip at a time through the platform's media detector, as a device-dependent bitmap
// made on a window's device context.
#include <windows.h>

// The frame at position (100-ns units) of the first video stream, or null when anything fails (no
// detector, no video stream, a format other than VIDEOINFOHEADER, or no bitmap). The caller deletes it.
HBITMAP GrabClipBitmap(HWND window, const char* path, LONGLONG position);
