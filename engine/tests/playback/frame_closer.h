#pragma once
// Property frames are modal on the engine's thread: a second thread finds the frame by its caption,
// lets the test look at it (and change things) while it is open, then presses OK.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace enginetest {

class FrameCloser {
public:
    // whileOpen runs on the closer's thread once the frame is found, before OK is pressed.
    FrameCloser(std::wstring caption, std::function<void(HWND frame)> whileOpen);
    ~FrameCloser();
    FrameCloser(const FrameCloser&) = delete;
    FrameCloser& operator=(const FrameCloser&) = delete;

    // Waits for the thread; true when it found and closed a frame.
    bool Join();
    // The texts of the frame's static controls, as the closer read them.
    const std::wstring& PageTexts() const { return pageTexts_; }

private:
    void Run();

    std::wstring caption_;
    std::function<void(HWND)> whileOpen_;
    std::wstring pageTexts_;
    bool closed_ = false;
    std::thread thread_;
};

} // namespace enginetest
