#pragma once
// One owner for a kernel handle (events, threads): closed when the owner goes.
#include <windows.h>

class Win32Handle {
public:
    Win32Handle() = default;
    explicit Win32Handle(HANDLE handle) : handle_(handle) {}
    ~Win32Handle() { Reset(); }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HANDLE handle = nullptr) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// An auto-reset event unless told otherwise, unsignalled.
class EventHandle : public Win32Handle {
public:
    explicit EventHandle(bool manualReset = false) : Win32Handle(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
    void Renew(bool manualReset = false) { Reset(CreateEventA(nullptr, manualReset, FALSE, nullptr)); }
};
