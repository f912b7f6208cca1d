// The thumbnail scan's body.
#include "ThumbScan.h"

#include <afxwin.h>
#include <Vostrel.h>

#include <algorithm>

#include "AlbumFileNames.h"
#include "AlbumRules.h"
#include "RecordingRecovery.h"
#include "WideText.h"

namespace {

// A set stop event: any wait result but the time-out.
bool StopSet(HANDLE stopEvent, DWORD wait) { return ::WaitForSingleObject(stopEvent, wait) != WAIT_TIMEOUT; }

bool IsEmptyFile(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false; // listed all the same
    LARGE_INTEGER size = {};
    const bool empty = ::GetFileSizeEx(file, &size) && size.QuadPart == 0;
    ::CloseHandle(file);
    return empty;
}

// The wide listing: the ANSI one gives '?' for every letter the code page lacks, and such a name would
// be taken as a pattern later. Each entry is named as AlbumEntryName reaches it.
void ListFolder(const CString& folder, HANDLE stopEvent, CStringArray& found) {
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((qelapp::Widen(folder) + L"\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (StopSet(stopEvent, 100))
            break;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue; // also "." and ".."
        const CString name = AlbumEntryName(folder, entry);
        const CString path = folder + "\\" + name;
        const bool reachable = NamesOneFile(path);
        switch (AlbumFileKindOf(name)) {
        case kAlbumClip:
            if (reachable) // a recording cut short by a crash or a kill is kept
                FinishCutShortRecording(path, stopEvent);
            [[fallthrough]];
        case kAlbumPicture:
            // One the program cannot reach is listed all the same: it shows as a file that does not open.
            if (!reachable || !IsEmptyFile(path))
                found.Add(path);
            break;
        case kAlbumLeftover:
            if (reachable)
                ::DeleteFileA(path);
            break;
        case kAlbumOther: break;
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

// Oldest first, through a block of indices into found; FALSE when the block cannot be had.
BOOL SortOldestFirst(const CStringArray& found, CStringArray& sorted) {
    const INT_PTR count = found.GetSize();
    if (count == 0)
        return FALSE;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(count) * sizeof(INT32));
    if (!block)
        return FALSE;
    auto* indices = static_cast<INT32*>(::GlobalLock(block));
    if (!indices) {
        ::GlobalFree(block);
        return FALSE;
    }
    for (INT_PTR i = 0; i < count; ++i)
        indices[i] = static_cast<INT32>(i);
    std::sort(indices, indices + count, [&found](INT32 a, INT32 b) {
        return CompareAlbumFiles(found.GetAt(a), found.GetAt(b)) < 0;
    });
    for (INT_PTR i = 0; i < count; ++i)
        sorted.Add(found.GetAt(indices[i]));
    ::GlobalUnlock(block);
    ::GlobalFree(block);
    return TRUE;
}

} // namespace

BOOL ScanAlbumFolder(const char* folder, HANDLE stopEvent, HWND receiver, _AlbumItemInfo* buffer,
                     volatile LONG* handedOver) {
    CStringArray found, sorted;
    ListFolder(folder, stopEvent, found);
    if (!SortOldestFirst(found, sorted))
        return FALSE;
    for (INT_PTR i = sorted.GetSize() - 1; i >= 0; --i) {
        if (StopSet(stopEvent, 67))
            break;
        const CString& path = sorted.GetAt(i);
        const AlbumFileKind kind = AlbumFileKindOf(path);
        if (kind != kAlbumPicture && kind != kAlbumClip)
            continue;
        ZeroMemory(buffer, sizeof *buffer);
        lstrcpynA(buffer->path, path, MAX_PATH);
        if (kind == kAlbumPicture) {
            buffer->isPicture = 1;
            buffer->frameCount = 1;
            lstrcpynA(buffer->displayPath, path, MAX_PATH);
            lstrcpynA(buffer->imagePath, path, MAX_PATH);
        }
        if (handedOver)
            InterlockedExchange(handedOver, TRUE);
        ::SendMessageA(receiver, WM_LIVECAP_SNAPSHOT, 0, 0);
    }
    return TRUE;
}
