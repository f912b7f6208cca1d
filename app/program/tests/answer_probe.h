#pragma once
// Whether the program's window answers: how long a message takes, and waiting out the start-up's own
// moment of holding the window (about 1 s after the live picture shows, with any album).
#include <windows.h>

#include <atomic>
#include <thread>

#include "zentrik_run.h"

namespace programtest {

// How long window took to answer a message, in ms; -1 when it did not answer within limit.
inline long AnswerTime(HWND window, UINT limit) {
    const DWORD start = ::GetTickCount();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limit, &result))
        return -1;
    return static_cast<long>(::GetTickCount() - start);
}

// Waits for three quick answers in a row (within 10 s); whether they came.
inline bool WaitUntilSettled(ZentrikRun& run) {
    int quick = 0;
    for (int i = 0; i < 50 && quick < 3; ++i) {
        const long took = AnswerTime(run.Dialog(), 5000);
        quick = took >= 0 && took < 300 ? quick + 1 : 0;
        run.Pump(200);
    }
    return quick == 3;
}

// Asks the window every 250 ms from a thread of its own, each time with a 5 s limit, while the test
// drives the program; the longest answer and how many never came within the limit.
class AnswerWatcher {
public:
    static constexpr UINT kLimitMs = 5000;

    explicit AnswerWatcher(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const long took = AnswerTime(window, kLimitMs);
                  if (took < 0)
                      ++unanswered_;
                  else if (took > slowest_)
                      slowest_ = took;
                  ::Sleep(250);
              }
          }) {}
    ~AnswerWatcher() { Stop(); }
    AnswerWatcher(const AnswerWatcher&) = delete;
    AnswerWatcher& operator=(const AnswerWatcher&) = delete;

    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    long Slowest() const { return slowest_; }
    int Unanswered() const { return unanswered_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long> slowest_{0};
    std::atomic<int> unanswered_{0};
    std::thread thread_;
};

} // namespace programtest
