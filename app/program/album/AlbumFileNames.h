#pragma once
// The ANSI names by which the album reaches its files. The program is an ANSI program; a file whose
// long name the code page cannot hold is reached through its short (8.3) name, and one that has none
// keeps a name with '?' in it, which NamesOneFile (AlbumRules.h) refuses everywhere.
#include <afx.h>

// The name of a listed entry of folder (an ANSI path that reaches the folder): the long name when the
// code page holds it exactly, else the short name the listing gives beside it, else the short name the
// file system makes for the full path; when there is none, the long name as the code page shows it.
CString AlbumEntryName(const CString& folder, const WIN32_FIND_DATAW& entry);

// A file's name for a message, as the user knows it: the long name where the code page shows it whole;
// else what it shows of it, with the short name the program reaches it by in brackets.
CString FileNameAsShown(const char* path);
