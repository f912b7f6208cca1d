#pragma once
// Reaching the program's windows from the test: a child by its id anywhere below a window, screen
// rectangles, texts, and button commands as the dialog receives them.
#include <windows.h>

#include <string>
#include <vector>

namespace programtest {

// The first window below parent (at any depth) with this control id, or null.
HWND FindChildById(HWND parent, int id);
RECT ScreenRectOf(HWND window);
// The visible top-level windows of class className that the process owns.
std::vector<HWND> VisibleTopLevelWindows(DWORD pid, const char* className);
std::string TextOf(HWND window);
// The button's command, sent (returns when the dialog has handled it) or posted (for commands that
// open a modal window).
void ClickButton(HWND dialog, int id);
void PostClick(HWND dialog, int id);
// The file dialog of the process once it shows (null when none did within ms), and its file name box.
HWND WaitForFileDialog(DWORD pid, DWORD ms);
HWND FileNameEdit(HWND dialog);
// Types path into the file dialog's name box and presses OK (posted); false when it has no name box.
bool AcceptFileDialogWith(HWND dialog, const std::string& path);

} // namespace programtest
