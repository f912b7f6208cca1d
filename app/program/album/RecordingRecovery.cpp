// Finishing a cut-short recording through the recovery core, over a file opened for this alone.
#include "RecordingRecovery.h"

#include <avi_recovery.h>

namespace {

class HandleFile : public avirecovery::RecoveryFile {
public:
    explicit HandleFile(HANDLE handle) : handle_(handle) {}
    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
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

// A first look through a read-only handle, so that a file that is not ours is never opened to write.
bool MarkedUnfinished(const char* path) {
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

} // namespace

BOOL FinishCutShortRecording(const char* path) {
    if (!MarkedUnfinished(path))
        return FALSE;
    // No sharing: a recording still being written (here or in another process) keeps its file open,
    // and this open then fails.
    HANDLE handle = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FALSE;
    HandleFile file(handle);
    const avirecovery::Outcome outcome = avirecovery::FinishUnfinishedAvi(file);
    ::CloseHandle(handle);
    return outcome == avirecovery::Outcome::Finished;
}
