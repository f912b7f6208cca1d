#pragma once
// A borderless window's outline cut from its picture: fully transparent pixels are left out.
#include <windows.h>

class CImage;

// Only a 32-bit image changes the outline; any other leaves the window as it was. The window owns
// the region from then on.
void SetWindowOutline(HWND window, CImage& image);
