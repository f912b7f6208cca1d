#include "WorkLane.h"

#include <objbase.h>

#include <utility>
#include <vector>

struct CWorkLane::Shared {
    Com com = Com::kNone;
    SRWLOCK lock = SRWLOCK_INIT;
    HANDLE wake = nullptr; // auto-reset: a job was queued, or the lane was dropped
    HANDLE idle = nullptr; // manual-reset: set while nothing runs or waits
    std::vector<std::pair<int, std::function<void()>>> waiting;
    bool threadStarted = false;
    bool dropped = false;

    ~Shared() {
        if (wake)
            ::CloseHandle(wake);
        if (idle)
            ::CloseHandle(idle);
    }
};

namespace {

volatile LONG g_jobsRunning = 0;

class LockHold {
public:
    explicit LockHold(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    ~LockHold() { ::ReleaseSRWLockExclusive(&lock_); }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;

private:
    SRWLOCK& lock_;
};

} // namespace

// The thread's own reference keeps the shared state alive after the lane was dropped.
static DWORD WINAPI RunLane(void* parameter) {
    std::shared_ptr<CWorkLane::Shared> shared(std::move(*static_cast<std::shared_ptr<CWorkLane::Shared>*>(parameter)));
    delete static_cast<std::shared_ptr<CWorkLane::Shared>*>(parameter);
    HRESULT com = E_FAIL;
    if (shared->com == CWorkLane::Com::kMultiThreaded)
        com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    else if (shared->com == CWorkLane::Com::kApartment)
        com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (;;) {
        std::function<void()> job;
        {
            LockHold hold(shared->lock);
            if (shared->dropped)
                break;
            if (shared->waiting.empty()) {
                ::SetEvent(shared->idle);
            } else {
                job = std::move(shared->waiting.front().second);
                shared->waiting.erase(shared->waiting.begin());
            }
        }
        if (job) {
            ::InterlockedIncrement(&g_jobsRunning);
            job();
            job = nullptr; // what it captured goes here, in this thread's apartment
            ::InterlockedDecrement(&g_jobsRunning);
            continue;
        }
        ::WaitForSingleObject(shared->wake, INFINITE);
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}

CWorkLane::CWorkLane(Com com) : shared_(std::make_shared<Shared>()) {
    shared_->com = com;
    shared_->wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    shared_->idle = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

CWorkLane::~CWorkLane() {
    std::vector<std::pair<int, std::function<void()>>> dropped;
    {
        LockHold hold(shared_->lock);
        shared_->dropped = true;
        dropped.swap(shared_->waiting);
    }
    if (shared_->wake)
        ::SetEvent(shared_->wake);
}

bool CWorkLane::Post(int kind, std::function<void()> job) {
    if (!shared_->wake || !shared_->idle)
        return false;
    std::function<void()> replaced;
    {
        LockHold hold(shared_->lock);
        if (!shared_->threadStarted) {
            auto* parameter = new std::shared_ptr<Shared>(shared_);
            HANDLE thread = ::CreateThread(nullptr, 0, RunLane, parameter, 0, nullptr);
            if (!thread) {
                delete parameter;
                return false;
            }
            ::CloseHandle(thread);
            shared_->threadStarted = true;
        }
        bool queued = false;
        for (auto& waiting : shared_->waiting) {
            if (waiting.first == kind) {
                replaced = std::move(waiting.second);
                waiting.second = std::move(job);
                queued = true;
                break;
            }
        }
        if (!queued)
            shared_->waiting.emplace_back(kind, std::move(job));
        ::ResetEvent(shared_->idle);
    }
    ::SetEvent(shared_->wake);
    return true; // the replaced job's captures go here, outside the lock
}

bool CWorkLane::WaitUntilIdle(DWORD ms) {
    return shared_->idle && ::WaitForSingleObject(shared_->idle, ms) == WAIT_OBJECT_0;
}

int CWorkLane::JobsRunning() { return static_cast<int>(::InterlockedCompareExchange(&g_jobsRunning, 0, 0)); }
