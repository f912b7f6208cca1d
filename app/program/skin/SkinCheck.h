#pragma once
// Whether the skin can give a usable window before anything is opened: its settings file, both
// background pictures (readable, no larger than the screen), and in both size modes a Close button and
// a picture area inside the window. A skin without them would leave a window the user cannot see or
// close while the program holds the camera.
#include <afxwin.h>

// What is wrong with the skin, in words for the user; empty when the skin is usable. Reads the paths
// InitSkinPaths set; screen is the screen's size in pixels.
CString FindSkinFault(SIZE screen);

// The message the program shows before it ends for a skin with that fault.
CString SkinRefusalText(const char* settingsPath, const CString& fault);
