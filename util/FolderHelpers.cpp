// Counting, copying and deleting the files of one folder level.
#include "FolderHelpers.h"

#include <afxwin.h>
#include <shellapi.h>

#include <cstring>

#include "BoundedText.h"
#include "FileSizeText.h"
#include "FindHandle.h"

using qel::text::JoinBounded;
using qel::text::kPathBytes;

namespace {

bool IsFolder(const WIN32_FIND_DATAA& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsDotEntry(const WIN32_FIND_DATAA& entry) {
    return std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0;
}

// Searches folder + "\*.*"; a folder whose pattern does not fit finds nothing.
qel::FindHandle SearchFolder(const char* folder, WIN32_FIND_DATAA* found) {
    char pattern[kPathBytes];
    if (!JoinBounded(pattern, sizeof pattern, {folder, "\\*.*"}))
        return qel::FindHandle::None();
    return qel::FindHandle::First(pattern, found);
}

bool IsNullOrEmpty(const char* text) { return !text || !*text; }

} // namespace

int ql_GetDirFileCount(const char* folder) {
    if (IsNullOrEmpty(folder))
        return 0;
    WIN32_FIND_DATAA entry;
    qel::FindHandle search = SearchFolder(folder, &entry);
    if (!search.IsOpen())
        return 0;
    int count = 0;
    do {
        if (!IsFolder(entry))
            ++count;
    } while (search.Next(&entry));
    return count;
}

int ql_IsSubFolderExist(const char* folder) {
    if (IsNullOrEmpty(folder))
        return 0;
    WIN32_FIND_DATAA entry;
    qel::FindHandle search = SearchFolder(folder, &entry);
    if (!search.IsOpen())
        return 0;
    do {
        if (IsFolder(entry) && !IsDotEntry(entry))
            return 1;
    } while (search.Next(&entry));
    return 0;
}

int ql_CopyDirectory(const char* source, const char* target) {
    if (IsNullOrEmpty(source) || IsNullOrEmpty(target))
        return 0;
    CWaitCursor wait;
    if (!CreateDirectoryA(target, nullptr))
        return 0;
    WIN32_FIND_DATAA entry;
    qel::FindHandle search = SearchFolder(source, &entry);
    if (!search.IsOpen())
        return 0;
    do {
        if (IsFolder(entry))
            continue;
        char from[kPathBytes];
        char to[kPathBytes];
        if (JoinBounded(from, sizeof from, {source, "\\", entry.cFileName}) &&
            JoinBounded(to, sizeof to, {target, "\\", entry.cFileName}))
            CopyFileA(from, to, FALSE);
    } while (search.Next(&entry));
    return 1;
}

int ql_DeleteDirectory(const char* folder, int removeFolder, WORD flags) {
    if (IsNullOrEmpty(folder))
        return 0;
    CWaitCursor wait;
    WIN32_FIND_DATAA entry;
    qel::FindHandle search = SearchFolder(folder, &entry);
    if (!search.IsOpen())
        return 0;
    CWnd* mainWindow = AfxGetMainWnd();
    do {
        if (IsFolder(entry))
            continue;
        // The shell wants a list of names ending in an empty one: room for a second terminator.
        char names[kPathBytes + 1];
        if (!JoinBounded(names, kPathBytes, {folder, "\\", entry.cFileName}))
            continue;
        names[std::strlen(names) + 1] = '\0';
        SHFILEOPSTRUCTA operation{};
        operation.hwnd = mainWindow ? mainWindow->GetSafeHwnd() : nullptr;
        operation.wFunc = FO_DELETE;
        operation.pFrom = names;
        operation.fFlags = flags;
        SHFileOperationA(&operation);
    } while (search.Next(&entry));
    if (removeFolder)
        RemoveDirectoryA(folder);
    return 1;
}

void ql_FileSize2Str(char* out, DWORD size, const char* numberFormat, const char* units, int stride,
                     const DWORD* divisors) {
    static_assert(sizeof(DWORD) == sizeof(uint32_t), "divisors are 32-bit");
    qel::text::FormatFileSize(out, kPathBytes, size, numberFormat, units, stride,
                              reinterpret_cast<const uint32_t*>(divisors));
}
