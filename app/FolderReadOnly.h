#pragma once
// Whether no file can be created in a folder.
#include <windows.h>

// TRUE for a null or empty folder, for one whose name holds '?' or '*' (no file can be created through
// such a name), for a folder that carries the read-only attribute, and when a probe file cannot be
// created inside it; the probe ("test.txt") is deleted again at once. The folder may end in a
// backslash or not: the probe always goes inside it.
BOOL IsFolderReadOnly(const char* folder);
