#pragma once
// A watcher on a thread of its own that asks the program's window to answer every 100 ms for as
// long as it lives, keeping the longest wait for an answer (a stall) and how many asks went
// unanswered within 6 s: a hang guard for tests that drive the window meanwhile.
#include <windows.h>

#include <atomic>
#include <thread>

namespace programtest {

class AnswerWatch {
public:
    explicit AnswerWatch(HWND window);
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    long LongestStallMs() const { return longest_.load(); }
    int Unanswered() const { return unanswered_.load(); }

private:
    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<long> longest_{0};
    std::atomic<int> unanswered_{0};
    std::thread thread_;
};

} // namespace programtest
