#pragma once
// Whether the skin can give a usable window before anything is opened: its settings file, both
// background pictures (readable, within what the image library decodes), and in both size modes a
// Close button and a picture area inside the window. A skin without them would leave a window the
// user cannot see or close while the program holds the camera. How large the screen is does not
// matter here: the program starts in the size mode whose window fits it.
#include <afxwin.h>

// What is wrong with the skin, in words for the user; empty when the skin is usable. Reads the paths
// InitSkinPaths set.
CString FindSkinFault();

// The message the program shows before it ends for a skin with that fault.
CString SkinRefusalText(const char* settingsPath, const CString& fault);
