#pragma once
// The main window each size mode gives, as its skin's background picture sizes it, and how a skin
// rectangle is kept inside that window.
#include <afxwin.h>

// The key of section [Zentrik] that names the background of size mode index (0 large, 1 small).
const char* BackgroundKey(int index);

// The window of size mode index: its background's size, read from the picture's header; the screen's
// size when the skin names no readable background. An index of -1 gives what either window holds (the
// larger width and height), for places and pictures the skin gives once for both modes (a place given
// once is the first; the size mode's own keys move the control afterwards).
SIZE SkinWindowSize(int index);

// Keeps place inside a window of that size: a rectangle that fits is moved in whole; one wider or
// taller than the window, or of negative size, would cover it or mean nothing and is refused (FALSE,
// place untouched).
BOOL PlaceInsideWindow(RECT* place, SIZE window);
