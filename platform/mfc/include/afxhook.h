#pragma once
// Every modal message box of our modules goes through one process-wide hook, so that a test can
// answer it instead of a user (an unanswered box would block the test forever).
#include <windows.h>
#include "afxdllapi.h"

typedef int(CALLBACK* AFX_MESSAGEBOX_HOOK)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Installs hook (nullptr restores the real MessageBox) and returns the previous one.
QEL_MFC_API AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook);

// Shows a message box through the hook if one is installed, else through MessageBoxA.
QEL_MFC_API int AfxShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
