#pragma once
// Whether the program's window answers: how long a message takes, and waiting out the start-up's own
// moment of holding the window (about 1 s after the live picture shows, with any album).
#include <windows.h>

#include <atomic>
#include <cstdio>
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

// A guard for one answer: a window that does not answer within it hangs.
constexpr UINT kAnswerHangGuardMs = 5000;

// Waits out the start-up's moment of holding the window: until three answers in a row come back
// quickly, or 10 s have passed (on a busy machine answers may stay slow, which is not a fault). False
// only when the window did not answer within the hang guard. Prints what it saw.
inline bool WaitUntilSettled(ZentrikRun& run) {
    constexpr long kQuickMs = 300;
    int quick = 0;
    long slowest = 0;
    const DWORD started = ::GetTickCount();
    while (quick < 3 && ::GetTickCount() - started < 10000) {
        const long took = AnswerTime(run.Dialog(), kAnswerHangGuardMs);
        if (took < 0) {
            std::printf("the window did not answer within the hang guard of %u ms\n", kAnswerHangGuardMs);
            return false;
        }
        slowest = took > slowest ? took : slowest;
        quick = took < kQuickMs ? quick + 1 : 0;
        run.Pump(200);
    }
    std::printf("settling after the start: %lu ms, slowest answer %ld ms%s\n",
                static_cast<unsigned long>(::GetTickCount() - started), slowest,
                quick < 3 ? " (answers stayed slow: the machine is busy)" : "");
    return true;
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
