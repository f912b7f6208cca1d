#pragma once
// Module folder, path splitting and file queries. Output buffers hold at least 260 bytes; a result
// that would not fit is not written (the output is left empty).
#include <windows.h>

#include "QelLib1Api.h"

// The folder of module (null: the program) with its trailing backslash in buffer; returns a pointer to
// that backslash. When the module's name does not fit 260 characters: null and an empty buffer.
QELLIB1_C_API char* ql_GetModulePath(HINSTANCE module, char* buffer);

// folder = drive + folder, name = name + extension; either may be null. Null or empty path: nothing.
QELLIB1_C_API void ql_SplitPath(const char* path, char* folder, char* name);
// Name and extension. Null path: empty.
QELLIB1_C_API void ql_GetFileName(const char* path, char* out);
// Name without extension. Null path: empty.
QELLIB1_C_API void ql_GetName(const char* path, char* out);
// Extension without its dot, empty when there is none. Null path: empty.
QELLIB1_C_API void ql_GetExt(const char* path, char* out);
// The text after the last "." of the whole path unless that dot starts the path; without such a dot
// out keeps its content. Null path: empty.
QELLIB1_C_API void ql_GetFileExt(const char* path, char* out);

// 1 when a search for path (wildcards allowed) finds a file or folder.
QELLIB1_C_API int ql_IsFileExist(const char* path);
// Last-write and creation time (FILETIME as one value) of the first entry found; 0 when none.
QELLIB1_C_API ULONGLONG ql_GetFileDate(const char* path);
QELLIB1_C_API ULONGLONG ql_GetFileCreateDate(const char* path);
// The current UTC time.
QELLIB1_C_API BOOL ql_GetCurDate(FILETIME* out);
