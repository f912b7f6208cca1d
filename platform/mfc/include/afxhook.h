#pragma once
// Every modal message box and modal window of our modules goes through one process-wide hook each, so
// that a test can answer it instead of a user (an unanswered box or dialog would block the test forever).
#include <windows.h>
#include "afxdllapi.h"

typedef int(CALLBACK* AFX_MESSAGEBOX_HOOK)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Installs hook (nullptr restores the real MessageBox) and returns the previous one.
QEL_MFC_API AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook);

// Shows a message box through the hook if one is installed, else through MessageBoxA.
QEL_MFC_API int AfxShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// What kind of modal window a modal loop runs.
enum AFX_MODAL_KIND {
    AFX_MODAL_DIALOG = 1, // CDialog::DoModal: window is the dialog
    AFX_MODAL_SHEET = 2,  // CPropertySheet::DoModal: window is the sheet
    AFX_MODAL_FILE = 3,   // CFileDialog::DoModal and the engine's save dialogs: window is the file dialog
};

// Called by a modal loop once its window is initialised and shown. The hook may drive the window with
// messages (it runs on the window's thread, so sent messages are handled at once; posted ones are
// handled when it returns). When it returns, a window that its messages did not end is ended with the
// hook's return value (IDOK, IDCANCEL, ...).
typedef INT_PTR(CALLBACK* AFX_MODAL_HOOK)(HWND window, AFX_MODAL_KIND kind);

// Installs hook (nullptr: modal windows run for a user) and returns the previous one.
QEL_MFC_API AFX_MODAL_HOOK AfxSetModalHook(AFX_MODAL_HOOK hook);
QEL_MFC_API AFX_MODAL_HOOK AfxGetModalHook();
