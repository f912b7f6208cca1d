#pragma once
// Screen, version and error queries.
#include <windows.h>

#include "QelLib1Api.h"

class CDC;

// Logical pixels per inch, horizontal then vertical, of dc (null: the display) into resolution[0..1].
// 0 when resolution is null or no device context could be had.
QELLIB1_C_API int ql_GetScreenResolution(CDC* dc, int* resolution);
// The screen's NUMCOLORS; -1 (more than 256 colours) is reported as 64000.
QELLIB1_C_API int ql_GetScreenColors();
// 1 when the file has a version resource; the outs then receive the product version (most significant
// word first) when its fixed information is there, else stay untouched. 0 without one or for null.
QELLIB1_C_API int ql_GetFileVersion(const char* path, WORD* major, WORD* minor, WORD* build, WORD* revision);
// The text of the thread's last error into out (260 bytes), or "Error message 0x%lx not found" when
// the system has none; 1. With no pending error (or a null out): 0 and out untouched.
QELLIB1_C_API int ql_GetLastErrorStr(char* out);
// Shows the last error's text in a box titled "Error"; its result, or 0 with no pending error.
QELLIB1_C_API int ql_ShowLastError();
// 0 without "D3D8.DLL", 0x800 with it alone, 0x900 when "D3D9.DLL" loads as well.
QELLIB1_C_API int ql_GetDXVersion();
