#pragma once
// Extension-library start-up: the record an MFC extension DLL keeps about itself, filled at process
// attach and cleared at detach.
#include <windows.h>

#include "afxdllapi.h"

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource; // where the library's resources are looked up (the module itself)
};

// Records the library's module in state. FALSE for a null module. A second call on an initialised
// record keeps it and answers TRUE.
QEL_MFC_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);

// Clears the record. all is accepted for the familiar signature; there are no per-thread states here.
QEL_MFC_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);
