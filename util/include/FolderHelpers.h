#pragma once
// Folder contents: counting, copying and deleting the files directly inside a folder (subfolders are
// never copied or deleted), and a byte count as text. A path composed from a folder and a name that
// would not fit 260 characters fails that step instead of being cut.
#include <windows.h>

#include "QelLib1Api.h"

// Entries of folder + "\*.*" that are not folders; 0 for null, empty or nothing found.
QELLIB1_C_API int ql_GetDirFileCount(const char* folder);
// 1 when the folder holds a folder other than "." and "..".
QELLIB1_C_API int ql_IsSubFolderExist(const char* folder);
// Creates target (0 when that fails, also when it exists) and copies every file of source into it,
// overwriting; a single failed copy is skipped. 0 for null or empty arguments or an empty source.
// Shows the wait cursor meanwhile.
QELLIB1_C_API int ql_CopyDirectory(const char* source, const char* target);
// Deletes every file of folder through the shell with the given FOF_ flags (one file per call, owned
// by this thread's main window), then with removeFolder the folder itself, which stays while it holds
// subfolders. 0 for null, empty or nothing found. Shows the wait cursor meanwhile.
QELLIB1_C_API int ql_DeleteDirectory(const char* folder, int removeFolder, WORD flags);

// "<number> <unit>" into out (260 bytes): GB above divisors[0], MB above divisors[1], else KB.
// numberFormat formats one double (null: "%.2f"); units holds three names `stride` bytes apart (null:
// "GB", "MB", "KB" at stride 3); divisors null: 1073741824, 1048576, 1024. Null out: nothing.
QELLIB1_C_API void ql_FileSize2Str(char* out, DWORD size, const char* numberFormat, const char* units, int stride,
                                   const DWORD* divisors);
