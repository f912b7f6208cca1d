#pragma once
// A top-level window standing in for the host's main dialog: it records the engine notifications its
// window procedure receives.
#include <windows.h>

#include <functional>
#include <vector>

namespace enginetest {

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class HostWindow {
public:
    explicit HostWindow(int width = 640, int height = 480);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    HINSTANCE Instance() const;
    const std::vector<ReceivedMessage>& Notifications() const { return notifications_; }
    // Called with each notification as it arrives, inside the window procedure.
    void SetObserver(std::function<void(const ReceivedMessage&)> observer) { observer_ = std::move(observer); }

    // The children of class "STATIC" that the window holds now.
    std::vector<HWND> StaticChildren() const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::vector<ReceivedMessage> notifications_;
    std::function<void(const ReceivedMessage&)> observer_;
};

} // namespace enginetest
