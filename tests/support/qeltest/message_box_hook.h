#pragma once
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace qeltest {

struct ShownMessageBox {
    std::string text;
    std::string caption;
    UINT type = 0;
};

// While alive, answers every message box our modules show: records it and returns the next scripted
// answer (or the default). Outside its scope the process-wide default fails the test on any box.
class ScopedMessageBoxHook {
public:
    explicit ScopedMessageBoxHook(int defaultAnswer = IDOK);
    ~ScopedMessageBoxHook();
    ScopedMessageBoxHook(const ScopedMessageBoxHook&) = delete;
    ScopedMessageBoxHook& operator=(const ScopedMessageBoxHook&) = delete;

    void QueueAnswer(int answer);
    std::vector<ShownMessageBox> Shown() const;
    std::vector<std::string> Texts() const;

private:
    static int CALLBACK Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

    mutable std::mutex mutex_;
    int defaultAnswer_;
    std::deque<int> answers_;
    std::vector<ShownMessageBox> shown_;
    ScopedMessageBoxHook* previous_;
};

// Installed by the test main: a box nobody expected is a test failure, answered with IDCANCEL.
void InstallUnexpectedMessageBoxGuard();

} // namespace qeltest
