#pragma once
// Windows part of the MFC-compatible layer: message boxes and extension-library start-up.
#include "afx.h"
#include "afxdllx.h"
#include "afxhook.h"

// A modal message box owned by the active window, captioned with the program's name, shown through
// the process-wide hook of afxhook.h. Returns the button pressed.
QEL_MFC_API int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
