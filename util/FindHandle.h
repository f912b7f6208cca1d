#pragma once
// The one owner of a file-system search handle.
#include <windows.h>

namespace qel {

class FindHandle {
public:
    // Starts a search for pattern; the first entry goes to found when one is there.
    static FindHandle First(const char* pattern, WIN32_FIND_DATAA* found) {
        return FindHandle(FindFirstFileA(pattern, found));
    }
    // A search that found nothing.
    static FindHandle None() { return FindHandle(INVALID_HANDLE_VALUE); }
    FindHandle(FindHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle& operator=(FindHandle&&) = delete;
    ~FindHandle() {
        if (IsOpen())
            FindClose(handle_);
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA* found) { return IsOpen() && FindNextFileA(handle_, found) != FALSE; }

private:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    HANDLE handle_;
};

} // namespace qel
