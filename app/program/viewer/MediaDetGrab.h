#pragma once
// A still of a clip at a time through the platform's media detector, as a packed bitmap. The detector
// opens the clip with the platform's source, which a damaged file can hang: call it off the
// user-interface thread.
#include <windows.h>

// The frame at position (100-ns units) of the first video stream as a movable block holding a
// BITMAPINFOHEADER and the bits, or null when anything fails (no detector, no video stream, a format
// other than VIDEOINFOHEADER). The caller frees it.
HGLOBAL GrabClipFrame(const char* path, LONGLONG position);
