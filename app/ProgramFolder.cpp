// The program's folder and the free-space query, each with its test redirection in the tests' build.
#include "ProgramFolder.h"

#include <qelLib1.h>
#include <shlobj.h>

#include "WideText.h"

namespace qelapp {

namespace {

#ifdef QEL_TEST_SEAMS
CString& RedirectedFolder() {
    static CString folder;
    return folder;
}

FreeBytesQuery& RedirectedQuery() {
    static FreeBytesQuery query = nullptr;
    return query;
}
#endif

BOOL DiskFreeBytes(const char* folder, ULONGLONG* freeBytes) {
    ULARGE_INTEGER available = {}, total = {}, free = {};
    if (!GetDiskFreeSpaceExA(folder, &available, &total, &free))
        return FALSE;
    *freeBytes = free.QuadPart;
    return TRUE;
}

} // namespace

CString DocumentsFolder() {
    // Asked wide: the ANSI answer puts '?' for every letter the code page lacks (a Cyrillic user name).
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, documents)))
        return CString();
    return CString(AnsiPathOf(documents).c_str());
}

CString DefaultCaptureFolder(bool* fellBack) {
    const CString documents = DocumentsFolder();
    *fellBack = documents.IsEmpty();
    // An empty documents folder would make "\Tavorin" in the root of whatever drive is current.
    return documents.IsEmpty() ? ProgramFolder() + "Tavorin" : documents + "\\Tavorin";
}

CString ProgramFolder() {
#ifdef QEL_TEST_SEAMS
    if (!RedirectedFolder().IsEmpty())
        return RedirectedFolder();
#endif
    char folder[MAX_PATH] = {};
    ql_GetModulePath(nullptr, folder);
    return CString(folder);
}

CString SettingsFilePath() { return ProgramFolder() + "Zentrik.ini"; }

BOOL QueryFreeBytes(const char* folder, ULONGLONG* freeBytes) {
    if (!folder || !freeBytes)
        return FALSE;
#ifdef QEL_TEST_SEAMS
    if (RedirectedQuery())
        return RedirectedQuery()(folder, freeBytes);
#endif
    return DiskFreeBytes(folder, freeBytes);
}

#ifdef QEL_TEST_SEAMS
void RedirectProgramFolder(const char* folder) { RedirectedFolder() = folder; }
void RedirectFreeBytesQuery(FreeBytesQuery query) { RedirectedQuery() = query; }
#endif

} // namespace qelapp
