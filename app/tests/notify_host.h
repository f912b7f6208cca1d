#pragma once
// The window the controller hands to the engine as its video and notify window, standing in for the
// main dialog: it keeps the engine's notifications (0x431 to 0x435) in arrival order.
#include <windows.h>

#include <vector>

namespace apptest {

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class NotifyHost {
public:
    NotifyHost();
    ~NotifyHost();
    NotifyHost(const NotifyHost&) = delete;
    NotifyHost& operator=(const NotifyHost&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<Notification>& Received() const { return received_; }
    // Pumps until a notification of this message has arrived (false after timeoutMs).
    bool WaitFor(UINT message, unsigned timeoutMs) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Notification> received_;
};

} // namespace apptest
