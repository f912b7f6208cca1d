#pragma once
// The image library's PNG loader (internal): a PNG file decoded into a packed DIB in one movable global
// block, the layout PngDib.h describes.
#include <windows.h>

// The block (unlocked), owned by the caller who frees it with GlobalFree; null on failure, with the
// reason (a GDI+ Status: 3, 5, 7 or 8) kept for LastPngLoadReason. pixelOffset may be null.
HGLOBAL LoadPngToDib(const char* path, int* pixelOffset);

// The reason of the last failed load in this library, 0 after a load that worked.
int LastPngLoadReason();
