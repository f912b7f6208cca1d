#include "qeltest/watchdog.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace qeltest {
namespace {

// One watcher thread for the whole process; tests arm and disarm it.
class Watcher {
public:
    static Watcher& Instance() {
        static Watcher* watcher = new Watcher(); // never destroyed: the thread may outlive static teardown
        return *watcher;
    }

    void Arm(const std::string& name, unsigned seconds) {
        std::lock_guard<std::mutex> lock(mutex_);
        name_ = name;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        armed_ = true;
        wake_.notify_all();
    }

    void Extend(unsigned seconds) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (armed_)
            deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        wake_.notify_all();
    }

    void Disarm() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
        wake_.notify_all();
    }

private:
    // Returns once the thread is parked in its first wait. Its start-up (the attach notifications of
    // every loaded module, the first use of its mutex and condition variable, which allocate) used to
    // run alongside the first test: beside the fixture loading modules and, for a test of a few
    // milliseconds, beside the process's exit, which ends a thread wherever it is.
    Watcher() : thread_([this] { Run(); }) {
        thread_.detach();
        std::unique_lock<std::mutex> lock(mutex_);
        started_.wait(lock, [this] { return running_; });
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        running_ = true;
        started_.notify_all();
        for (;;) {
            if (!armed_) {
                wake_.wait(lock);
                continue;
            }
            if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr, "\n[watchdog] test %s hung: ending the process\n", name_.c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 97);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable started_;
    bool running_ = false;
    bool armed_ = false;
    std::string name_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

} // namespace

// The thread starts here, in main before any test, not at the first test's start.
Watchdog::Watchdog(unsigned defaultSeconds) : defaultSeconds_(defaultSeconds) {
    Watcher::Instance();
}
Watchdog::~Watchdog() { Watcher::Instance().Disarm(); }

void Watchdog::OnTestStart(const ::testing::TestInfo& info) {
    Watcher::Instance().Arm(std::string(info.test_suite_name()) + "." + info.name(), defaultSeconds_);
}

void Watchdog::OnTestEnd(const ::testing::TestInfo&) { Watcher::Instance().Disarm(); }

void Watchdog::ExtendCurrentTest(unsigned seconds) { Watcher::Instance().Extend(seconds); }

} // namespace qeltest
