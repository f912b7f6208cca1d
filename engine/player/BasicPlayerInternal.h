#pragma once
// What the basic player's sources share.
#include <afxwin.h>

#include <string>

// The text in UTF-16 (ANSI code page).
std::wstring WideOf(const CString& text);
