#pragma once
// The BMP files of the live snapshots: a 54-byte header (no palette) and the frame as the grabber
// delivered it.
#include <windows.h>

// Writes fileName (ANSI) afresh: file header, the info header as given, length bytes of bits. FALSE
// when the file cannot be created or any write falls short; a partly written file is removed, so a
// failure never leaves a truncated picture behind; the thread's last error then says why.
BOOL WriteSnapshotBmp(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length);
