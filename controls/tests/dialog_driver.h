#pragma once
// Ends a system dialog from a helper thread: waits for a visible dialog window of the given thread,
// lets act drive it, and gives up after a time (the dialog then stays for the watchdog).
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace gallery {

class DialogDriver {
public:
    DialogDriver(DWORD threadId, std::function<void(HWND)> act);
    ~DialogDriver(); // joins
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Found() const { return found_; }

private:
    std::atomic<bool> found_{false};
    std::thread thread_;
};

// The first visible "#32770" top-level window of the thread, or null.
HWND FindThreadDialog(DWORD threadId);

} // namespace gallery
