// File existence and times through a file-system search, so wildcards are allowed.
#include "PathHelpers.h"

#include "FindHandle.h"

namespace {

ULONGLONG ToValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

int ql_IsFileExist(const char* path) {
    WIN32_FIND_DATAA found;
    return path && qel::FindHandle::First(path, &found).IsOpen() ? 1 : 0;
}

ULONGLONG ql_GetFileDate(const char* path) {
    WIN32_FIND_DATAA found;
    return path && qel::FindHandle::First(path, &found).IsOpen() ? ToValue(found.ftLastWriteTime) : 0;
}

ULONGLONG ql_GetFileCreateDate(const char* path) {
    WIN32_FIND_DATAA found;
    return path && qel::FindHandle::First(path, &found).IsOpen() ? ToValue(found.ftCreationTime) : 0;
}

BOOL ql_GetCurDate(FILETIME* out) {
    if (!out)
        return FALSE;
    SYSTEMTIME now;
    GetSystemTime(&now);
    return SystemTimeToFileTime(&now, out);
}
