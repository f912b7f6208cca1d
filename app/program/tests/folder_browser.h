#pragma once
// The system's folder browser, opened by the program and filled in from the test as the user would: the
// folder selected in its tree, then OK.
#include <windows.h>

#include <string>

namespace programtest {

// The browser dialog of the process (a dialog holding a tree view), once it shows; null after ms.
HWND WaitForFolderBrowser(DWORD pid, DWORD ms);
// Selects folder in the browser's tree and presses OK. The browser reads the path from the program's own
// memory, where it is copied for the call. Empty on success, else what went wrong.
std::string PickFolder(HWND browser, DWORD pid, const std::string& folder, DWORD ms);
// The same for a folder named in any letters.
std::string PickFolder(HWND browser, DWORD pid, const std::wstring& folder, DWORD ms);

} // namespace programtest
