// The writable-folder probe used before recordings.
#include "FolderReadOnly.h"

#include <string>

#include "WideText.h"

BOOL IsFolderReadOnly(const char* folder) {
    // A name with a wildcard is never searched for: it would judge whatever folder it matches.
    if (!qelapp::NamesOneFile(folder))
        return TRUE;
    std::string bare(folder);
    while (!bare.empty() && (bare.back() == '\\' || bare.back() == '/'))
        bare.pop_back();
    WIN32_FIND_DATAA found = {};
    const HANDLE search = FindFirstFileA(bare.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        const DWORD readOnlyFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
        if ((found.dwFileAttributes & readOnlyFolder) == readOnlyFolder)
            return TRUE;
    }
    // Inside the folder, whether or not the caller ended it with a separator.
    const std::string probe = bare + "\\test.txt";
    const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return TRUE;
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return FALSE;
}
