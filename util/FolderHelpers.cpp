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

bool IsNullOrEmpty(const char* text) { return !text || !*text; }

// Calls visit(entry) for every entry of folder + "\*.*" until it returns false. False when the search
// finds nothing (a folder whose pattern would not fit 260 characters finds nothing).
template <typename Visit>
bool ForEachEntry(const char* folder, Visit visit) {
    char pattern[kPathBytes];
    WIN32_FIND_DATAA entry;
    if (!JoinBounded(pattern, sizeof pattern, {folder, "\\*.*"}))
        return false;
    qel::FindHandle search = qel::FindHandle::First(pattern, &entry);
    if (!search.IsOpen())
        return false;
    while (visit(entry) && search.Next(&entry)) {
    }
    return true;
}

} // namespace

int ql_GetDirFileCount(const char* folder) {
    int count = 0;
    if (!IsNullOrEmpty(folder)) {
        ForEachEntry(folder, [&count](const WIN32_FIND_DATAA& entry) {
            count += IsFolder(entry) ? 0 : 1;
            return true;
        });
    }
    return count;
}

int ql_IsSubFolderExist(const char* folder) {
    bool found = false;
    if (!IsNullOrEmpty(folder)) {
        ForEachEntry(folder, [&found](const WIN32_FIND_DATAA& entry) {
            found = IsFolder(entry) && !IsDotEntry(entry);
            return !found;
        });
    }
    return found ? 1 : 0;
}

int ql_CopyDirectory(const char* source, const char* target) {
    if (IsNullOrEmpty(source) || IsNullOrEmpty(target))
        return 0;
    CWaitCursor wait;
    if (!CreateDirectoryA(target, nullptr))
        return 0;
    // Single failures, among them names that would not fit 260 characters, are skipped.
    const bool found = ForEachEntry(source, [source, target](const WIN32_FIND_DATAA& entry) {
        char from[kPathBytes];
        char to[kPathBytes];
        if (!IsFolder(entry) && JoinBounded(from, sizeof from, {source, "\\", entry.cFileName}) &&
            JoinBounded(to, sizeof to, {target, "\\", entry.cFileName}))
            CopyFileA(from, to, FALSE);
        return true;
    });
    return found ? 1 : 0;
}

int ql_DeleteDirectory(const char* folder, int removeFolder, WORD flags) {
    if (IsNullOrEmpty(folder))
        return 0;
    CWaitCursor wait;
    CWnd* mainWindow = AfxGetMainWnd();
    const HWND owner = mainWindow ? mainWindow->GetSafeHwnd() : nullptr;
    const bool found = ForEachEntry(folder, [folder, flags, owner](const WIN32_FIND_DATAA& entry) {
        // The shell wants a list of names ending in an empty one: room for a second terminator.
        char names[kPathBytes + 1];
        if (IsFolder(entry) || !JoinBounded(names, kPathBytes, {folder, "\\", entry.cFileName}))
            return true;
        names[std::strlen(names) + 1] = '\0';
        SHFILEOPSTRUCTA operation{};
        operation.hwnd = owner;
        operation.wFunc = FO_DELETE;
        operation.pFrom = names;
        operation.fFlags = flags;
        SHFileOperationA(&operation);
        return true;
    });
    if (!found)
        return 0;
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
