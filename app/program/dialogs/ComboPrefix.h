#pragma once
// The settings pages' lookup of a saved text in a list: the first entry that begins with it (case
// ignored), searched from the second entry on and wrapping round to the first; -1 when none does.
#include <afxwin.h>

int FindPrefixFromSecond(const CComboBox& combo, const char* text);
