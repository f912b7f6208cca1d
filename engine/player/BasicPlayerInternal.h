#pragma once
// What the basic player's sources share.
#include <afxwin.h>

#include <dshow.h>

#include <string>

// The text in UTF-16 (ANSI code page).
std::wstring WideOf(const CString& text);

// Shows the system's text for a graph failure in a message box.
void ShowGraphError(HRESULT hr);
