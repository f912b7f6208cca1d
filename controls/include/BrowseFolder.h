#pragma once
// CBrowseFolder: asks the user for a folder with the shell's folder browser.
#include "qelControlApi.h"

#include <windows.h>

#include <shlobj.h>

class QEL_CONTROL_API CBrowseFolder {
public:
    CBrowseFolder();

    ULONG ModifyStyle(ULONG add, ULONG remove); // the new BROWSEINFO flags
    ULONG GetStyle();
    void SetTitle(char* title);                 // at most 260 bytes with the terminator; NULL: nothing
    // 0 with the folder's path in path (MAX_PATH bytes), 1 when cancelled, 2 for a NULL path or a
    // choice that has no file-system path.
    int Show(HWND owner, char* path);

    ULONG m_flags;
    char m_displayName[260];
    PIDLIST_ABSOLUTE m_root;
    char m_title[260];
};
