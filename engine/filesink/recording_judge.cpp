#include "recording_judge.h"

namespace {

// A file read through its handle; the judge never writes.
class ReadOnlyFile : public avirecovery::RecoveryFile {
public:
    explicit ReadOnlyFile(HANDLE handle) : handle_(handle) {}
    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD done = 0;
        return length <= MAXDWORD && ReadFile(handle_, data, static_cast<DWORD>(length), &done, &at) && done == length;
    }
    bool WriteAt(std::uint64_t, const void*, std::size_t) override { return false; }
    bool Size(std::uint64_t* size) override {
        LARGE_INTEGER bytes;
        if (!GetFileSizeEx(handle_, &bytes))
            return false;
        *size = static_cast<std::uint64_t>(bytes.QuadPart);
        return true;
    }
    bool Truncate(std::uint64_t) override { return false; }

private:
    HANDLE handle_;
};

} // namespace

avirecovery::RecordedVideo RecordedVideoOf(const WCHAR* path) {
    if (!path || !path[0])
        return avirecovery::RecordedVideo::Unknown;
    const HANDLE handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return avirecovery::RecordedVideo::Unknown;
    ReadOnlyFile file(handle);
    const avirecovery::RecordedVideo judged = avirecovery::FindRecordedVideo(file);
    CloseHandle(handle);
    return judged;
}
