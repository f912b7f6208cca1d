// Finishing a cut-short recording through the recovery core, over a file opened for this alone.
#include "RecordingRecovery.h"

#include <afxwin.h>
#include <avi_recovery.h>

#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

#include "AlbumRules.h"
#ifdef QEL_TEST_SEAMS
#include "AlbumTestSeams.h"
#endif

namespace {

class HandleFile : public avirecovery::RecoveryFile {
public:
    explicit HandleFile(HANDLE handle) : handle_(handle) {}
    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
#ifdef QEL_TEST_SEAMS
        if (const DWORD pauseMs = RepairReadPause())
            ::Sleep(pauseMs); // as a slow drive would take
#endif
        DWORD done = 0;
        return Seek(offset) && ::ReadFile(handle_, data, static_cast<DWORD>(length), &done, nullptr) &&
               done == length;
    }
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
        DWORD done = 0;
        return Seek(offset) && ::WriteFile(handle_, data, static_cast<DWORD>(length), &done, nullptr) &&
               done == length;
    }
    bool Size(std::uint64_t* size) override {
        LARGE_INTEGER value = {};
        if (!::GetFileSizeEx(handle_, &value))
            return false;
        *size = static_cast<std::uint64_t>(value.QuadPart);
        return true;
    }
    bool Truncate(std::uint64_t size) override { return Seek(size) && ::SetEndOfFile(handle_); }

private:
    bool Seek(std::uint64_t offset) {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return ::SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != FALSE;
    }
    HANDLE handle_;
};

// The files the repair gave up on in this run of the program, so that a new scan (Setup's OK) does
// not spend its time on them again. Never freed: a scan thread the program stopped waiting for may
// still reach it while the program ends.
class GivenUp {
public:
    static GivenUp& Files() {
        static GivenUp* files = new GivenUp;
        return *files;
    }
    bool Has(const char* path) {
        std::lock_guard<std::mutex> lock(mutex_);
        return paths_.count(Key(path)) != 0;
    }
    void Add(const char* path) {
        std::lock_guard<std::mutex> lock(mutex_);
        paths_.insert(Key(path));
    }

private:
    static std::string Key(const char* path) {
        CString key(path);
        key.MakeLower();
        return static_cast<const char*>(key);
    }
    std::mutex mutex_;
    std::set<std::string> paths_;
};

// A first look through a read-only handle, so that a file that is not ours is never opened to write.
bool MarkedUnfinished(const char* path) {
    if (!NamesOneFile(path))
        return false; // a listing's '?' stand-ins: a pattern, not this file
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE head[12] = {};
    DWORD done = 0;
    const bool marked = ::ReadFile(file, head, sizeof head, &done, nullptr) && done == sizeof head &&
                        avirecovery::LooksUnfinished(head, sizeof head);
    ::CloseHandle(file);
    return marked;
}

bool StopSet(HANDLE stopEvent) { return stopEvent && ::WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT; }

} // namespace

RecordingRepair FinishCutShortRecording(const char* path, HANDLE stopEvent) {
    if (!MarkedUnfinished(path))
        return kRepairNotMarked;
    if (GivenUp::Files().Has(path))
        return kRepairGaveUp;
    // Readers only: a recording still being written (here or in another process) keeps its file open
    // for writing, and this open then fails; a reader (a thumbnail, a virus scanner) does not stop it.
    HANDLE handle =
        ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return kRepairInUse;
    HandleFile file(handle);
    const avirecovery::Outcome outcome =
        avirecovery::FinishUnfinishedAvi(file, nullptr, [stopEvent] { return StopSet(stopEvent); });
    ::CloseHandle(handle);
    switch (outcome) {
    case avirecovery::Outcome::Finished: return kRepairFinished;
    case avirecovery::Outcome::NotUnfinished: return kRepairNotMarked;
    case avirecovery::Outcome::Stopped: return kRepairStopped;
    case avirecovery::Outcome::NoFrames:
    case avirecovery::Outcome::TooLarge:
    case avirecovery::Outcome::UnreadablePart:
    case avirecovery::Outcome::Failed: break;
    }
    GivenUp::Files().Add(path);
    return kRepairGaveUp;
}

BOOL FinishCutShortRecordingsIn(const char* folder, HANDLE stopEvent) {
    const CString root(folder);
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA(root + "\\*.*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return TRUE; // nothing there to finish
    BOOL whole = TRUE;
    do {
        if (StopSet(stopEvent)) {
            whole = FALSE;
            break;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || AlbumFileKindOf(entry.cFileName) != kAlbumClip)
            continue;
        if (FinishCutShortRecording(root + "\\" + entry.cFileName, stopEvent) == kRepairStopped) {
            whole = FALSE;
            break;
        }
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return whole;
}
