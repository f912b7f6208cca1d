// The album's thumbnail maker: one dispatcher thread takes the requests in turn and makes each on a
// thread of its own. A job that has not answered within its turn lets the next one start beside it,
// so that a file that hangs never holds back the good ones behind it; a job that overruns its limit is
// given up and left to itself (it is typically stuck inside the platform's AVI source). What a job's
// thread shares with the dispatcher is guarded by the maker's lock, and it touches GDI+ only while
// GDI+ is known to be up. Only clips stuck in their reader count toward the tolerated number: at that
// number a clip not tried yet is held back, never refused, until one of them comes back.
#include "ThumbMaker.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <QelReader.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "SentMessageWait.h"
#include "ThumbWork.h"

ThumbResult::~ThumbResult() {
    delete thumb;
    if (frame)
        ::GlobalFree(frame);
    if (reader)
        reader->Release();
}

IMediaFrameReader* ThumbResult::TakeReader() {
    IMediaFrameReader* taken = reader;
    reader = nullptr;
    return taken;
}

HGLOBAL ThumbResult::TakeFrame() {
    HGLOBAL taken = frame;
    frame = nullptr;
    return taken;
}

namespace {

enum class JobKind { kPicture, kClipThumb, kClipStill };

struct Job {
    HWND window = nullptr;
    std::string path;
    JobKind kind = JobKind::kPicture;
    UINT request = 0;

    bool Clip() const { return kind != JobKind::kPicture; }
};

// One job in the making, shared by the dispatcher and its thread under the maker's lock.
struct Task {
    Job job;
    ThumbResult* result = nullptr;
    bool done = false;      // the thread has its result
    bool abandoned = false; // the dispatcher gave up waiting: the thread delivers the result itself
    bool stuck = false;     // counted as a clip stuck in its reader
    // The dispatcher's alone: the job's thread, when it started, and the last sign that it still works
    // (its processor time grew).
    HANDLE thread = nullptr;
    DWORD began = 0;
    DWORD lastProgress = 0;
    ULONGLONG processorTime = 0;
};

#ifdef QEL_TEST_SEAMS
DWORD g_limitMs = kThumbLimitMs; // SetThumbMakingForTest's
ThumbWorkHook g_hook = nullptr;
#else
constexpr DWORD g_limitMs = kThumbLimitMs;
#endif

// How often the dispatcher looks at the progress of the jobs in flight, and how long a job that keeps
// working (its processor time grows: a slow machine, a big file) may take in all.
constexpr DWORD kThumbProgressLookMs = 500;
DWORD CeilingMs() { return g_limitMs * 3; }

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The process's one maker. It is never destroyed: a stuck thread may still reach it at exit.
class Maker {
public:
    Maker() {
        ::InitializeCriticalSection(&lock_);
        wake_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        gdiplusIdle_ = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    }

    void Request(const Job& job) {
        ::EnterCriticalSection(&lock_);
        if (!stopping_ && wake_ && stop_ && gdiplusIdle_) {
            if (job.kind == JobKind::kClipStill) {
                DropStills(queue_, job.window);
                DropStills(heldBack_, job.window);
                queue_.push_front(job); // the user waits for it
            } else {
                queue_.push_back(job);
            }
            StartDispatcherLocked();
            ::SetEvent(wake_);
        }
        ::LeaveCriticalSection(&lock_);
    }

    bool Stop() {
        ::EnterCriticalSection(&lock_);
        stopping_ = true;
        queue_.clear();
        heldBack_.clear();
        HANDLE dispatcher = dispatcher_;
        dispatcher_ = nullptr;
        ::LeaveCriticalSection(&lock_);
        if (stop_)
            ::SetEvent(stop_);
        if (dispatcher) {
            // The dispatcher waits on the stop event in every wait: it ends at once.
            ::WaitForSingleObject(dispatcher, kThumbStopWaitMs);
            ::CloseHandle(dispatcher);
        }
        // No job enters GDI+ once stopping is set; one inside it may be stuck there for good.
        return !gdiplusIdle_ || ::WaitForSingleObject(gdiplusIdle_, kThumbStopWaitMs) == WAIT_OBJECT_0;
    }

    bool Unanswered(const char* path) {
        ::EnterCriticalSection(&lock_);
        const bool found = HungLocked(path);
        ::LeaveCriticalSection(&lock_);
        return found;
    }

    bool EnterGdiplus() {
        ::EnterCriticalSection(&lock_);
        const bool allowed = !stopping_;
        if (allowed && gdiplusUsers_++ == 0)
            ::ResetEvent(gdiplusIdle_);
        ::LeaveCriticalSection(&lock_);
        return allowed;
    }
    void LeaveGdiplus() {
        ::EnterCriticalSection(&lock_);
        if (--gdiplusUsers_ == 0)
            ::SetEvent(gdiplusIdle_);
        ::LeaveCriticalSection(&lock_);
    }

    // On the job's thread once its work is done; a job given up on delivers its late answer here.
    void Finish(Task* task, ThumbResult* result);
    // The job threads started and not yet come back.
    int Running() const { return static_cast<int>(::InterlockedCompareExchange(&running_, 0, 0)); }
    void Started() { ::InterlockedIncrement(&running_); }
    void Ended() { ::InterlockedDecrement(&running_); }

private:
    static void DropStills(std::deque<Job>& jobs, HWND window) {
        for (auto it = jobs.begin(); it != jobs.end();)
            it = it->kind == JobKind::kClipStill && it->window == window ? jobs.erase(it) : it + 1;
    }

    bool HungLocked(const std::string& path) const {
        for (const std::string& known : hung_)
            if (SamePath(known, path))
                return true;
        return false;
    }
    void ForgetHungLocked(const std::string& path) {
        for (auto it = hung_.begin(); it != hung_.end();)
            it = SamePath(*it, path) ? hung_.erase(it) : it + 1;
    }

    void StartDispatcherLocked() {
        if (dispatcher_)
            return;
        dispatcher_ = ::CreateThread(nullptr, 0, &Maker::DispatcherMain, this, 0, nullptr);
        if (dispatcher_)
            ::SetThreadPriority(dispatcher_, THREAD_PRIORITY_BELOW_NORMAL);
    }

    // The next job to make now, false when none is; a clip not tried yet is held back while too many
    // readers are stuck or may be (clipsInFlight are being read now).
    bool TakeNext(Job* job, int clipsInFlight) {
        ::EnterCriticalSection(&lock_);
        bool any = false;
        while (!any && !queue_.empty() && !stopping_) {
            *job = queue_.front();
            queue_.pop_front();
            if (job->Clip() && !HungLocked(job->path) && stuck_ + clipsInFlight >= kMaxStuckThumbThreads)
                heldBack_.push_back(*job);
            else
                any = true;
        }
        ::LeaveCriticalSection(&lock_);
        return any;
    }

    static DWORD WINAPI DispatcherMain(LPVOID self) {
        // The viewer keeps readers that were opened on the jobs' threads: this thread, alive for the
        // whole run, keeps the multithreaded apartment they were made in.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        static_cast<Maker*>(self)->Dispatch();
        if (SUCCEEDED(com))
            ::CoUninitialize();
        return 0;
    }
    void Dispatch();
    // Starts job's thread (false when it could not be started).
    Task* StartTask(const Job& job);
    // Takes the finished jobs out of inFlight and gives up those past their limit; true while the
    // maker goes on.
    bool Sweep(std::vector<Task*>& inFlight, std::vector<std::pair<Job, ThumbResult*>>* answers);
    // Whether another job may start beside those in flight, and how long until that may change.
    bool MayStartAnother(const std::vector<Task*>& inFlight, DWORD* waitMs) const;
    void Deliver(const Job& job, ThumbResult* result);

    CRITICAL_SECTION lock_;
    std::deque<Job> queue_;
    std::deque<Job> heldBack_; // clips waiting for a stuck reader to come back
    HANDLE wake_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE dispatcher_ = nullptr;
    bool stopping_ = false;
    int stuck_ = 0; // clip threads given up on that have not come back
    int gdiplusUsers_ = 0;
    HANDLE gdiplusIdle_ = nullptr;
    std::vector<std::string> hung_; // clips given up on that have not answered since
    mutable volatile LONG running_ = 0;
};

Maker& TheMaker() {
    static Maker* maker = new Maker; // never deleted, see Maker
    return *maker;
}

// Deletes a result where GDI+ may still be up, else leaves it (the program is ending).
void DiscardResult(ThumbResult* result) {
    if (!result || !TheMaker().EnterGdiplus())
        return;
    delete result;
    TheMaker().LeaveGdiplus();
}

ThumbResult* MakeFor(const Job& job) {
    switch (job.kind) {
    case JobKind::kClipThumb:
        return MakeClipThumb(job.path);
    case JobKind::kClipStill:
        return MakeClipStill(job.path);
    default:
        return MakePictureThumb(job.path);
    }
}

DWORD WINAPI TaskMain(LPVOID param) {
    auto* task = static_cast<Task*>(param);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ThumbResult* result = MakeFor(task->job);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    TheMaker().Finish(task, result);
    TheMaker().Ended();
    return 0;
}

void Maker::Finish(Task* task, ThumbResult* result) {
    ::EnterCriticalSection(&lock_);
    if (!task->abandoned) {
        task->result = result;
        task->done = true; // the dispatcher takes both
        ::SetEvent(wake_);
        ::LeaveCriticalSection(&lock_);
        return;
    }
    const Job job = task->job;
    const bool wasStuck = task->stuck;
    delete task;
    if (wasStuck) {
        // It answered after all: not hung, and one stuck reader fewer lets a held-back clip go.
        ForgetHungLocked(job.path);
        if (--stuck_ < kMaxStuckThumbThreads && !heldBack_.empty() && !stopping_) {
            queue_.insert(queue_.begin(), heldBack_.begin(), heldBack_.end());
            heldBack_.clear();
        }
        ::SetEvent(wake_);
    }
    const bool stopping = stopping_;
    ::LeaveCriticalSection(&lock_);
    if (!result)
        return;
    result->late = true;
    result->request = job.request;
    if (stopping)
        DiscardResult(result);
    else
        Deliver(job, result);
}

Task* Maker::StartTask(const Job& job) {
    auto* task = new Task;
    task->job = job;
    task->began = task->lastProgress = ::GetTickCount();
    HANDLE thread = ::CreateThread(nullptr, 0, TaskMain, task, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        delete task;
        return nullptr;
    }
    ::SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    task->thread = thread; // before the thread runs: it may free the task once it is given up
    Started();
    ::ResumeThread(thread);
    return task;
}

bool Maker::Sweep(std::vector<Task*>& inFlight, std::vector<std::pair<Job, ThumbResult*>>* answers) {
    const DWORD now = ::GetTickCount();
    for (Task* task : inFlight) {
        const ULONGLONG used = ThreadProcessorTime(task->thread);
        if (used > task->processorTime) {
            task->processorTime = used;
            task->lastProgress = now;
        }
    }
    ::EnterCriticalSection(&lock_);
    const bool stopping = stopping_;
    for (auto it = inFlight.begin(); it != inFlight.end();) {
        Task* task = *it;
        const HANDLE thread = task->thread;
        if (task->done) {
            answers->push_back({task->job, task->result ? task->result : new ThumbResult});
            delete task;
        } else if (stopping || now - task->lastProgress >= g_limitMs || now - task->began >= CeilingMs()) {
            task->abandoned = true; // the thread frees the task if it ever comes back
            if (!stopping) {
                if (task->job.Clip()) {
                    task->stuck = true;
                    ++stuck_;
                    hung_.push_back(task->job.path);
                }
                auto* placeholder = new ThumbResult;
                placeholder->timedOut = true;
                answers->push_back({task->job, placeholder});
            }
        } else {
            ++it;
            continue;
        }
        ::CloseHandle(thread);
        it = inFlight.erase(it);
    }
    ::LeaveCriticalSection(&lock_);
    return !stopping;
}

bool Maker::MayStartAnother(const std::vector<Task*>& inFlight, DWORD* waitMs) const {
    const DWORD now = ::GetTickCount();
    const DWORD turn = std::min(kThumbTurnMs, g_limitMs);
    DWORD wait = INFINITE;
    bool youngOne = false;
    for (const Task* task : inFlight) {
        const DWORD age = now - task->began;
        if (age < turn) {
            youngOne = true;
            wait = std::min(wait, turn - age);
        }
        // Its give-up, or the next look at its progress.
        const DWORD quiet = now - task->lastProgress;
        wait = std::min({wait, quiet < g_limitMs ? g_limitMs - quiet : 0u, kThumbProgressLookMs});
    }
    *waitMs = wait;
    return !youngOne && inFlight.size() < static_cast<size_t>(kMaxThumbJobsAtOnce);
}

void Maker::Deliver(const Job& job, ThumbResult* result) {
    if (!::IsWindow(job.window) ||
        !::PostMessageA(job.window, WM_ZENTRIK_THUMB_READY, 0, reinterpret_cast<LPARAM>(result)))
        DiscardResult(result);
}

bool ClipInFlight(const std::vector<Task*>& inFlight, const std::string& path) {
    for (const Task* task : inFlight)
        if (task->job.Clip() && SamePath(task->job.path, path))
            return true;
    return false;
}

void Maker::Dispatch() {
    std::vector<Task*> inFlight;
    std::vector<Job> waitingForTheirFile; // a clip's second job waits for its first: one thread a file
    for (;;) {
        std::vector<std::pair<Job, ThumbResult*>> answers;
        const bool goOn = Sweep(inFlight, &answers);
        for (auto& [job, result] : answers) {
            result->request = job.request;
            Deliver(job, result);
        }
        if (!goOn)
            return;
        for (auto it = waitingForTheirFile.begin(); it != waitingForTheirFile.end();) {
            if (ClipInFlight(inFlight, it->path)) {
                ++it;
                continue;
            }
            ::EnterCriticalSection(&lock_);
            queue_.push_front(*it);
            ::LeaveCriticalSection(&lock_);
            it = waitingForTheirFile.erase(it);
        }
        const int clipsInFlight = static_cast<int>(
            std::count_if(inFlight.begin(), inFlight.end(), [](const Task* task) { return task->job.Clip(); }));
        ::EnterCriticalSection(&lock_);
        if (!heldBack_.empty() && stuck_ + clipsInFlight < kMaxStuckThumbThreads) {
            // Room again (a clip being read answered): the held-back clips come first, in their order.
            queue_.insert(queue_.begin(), heldBack_.begin(), heldBack_.end());
            heldBack_.clear();
        }
        ::LeaveCriticalSection(&lock_);
        DWORD waitMs = INFINITE;
        Job job;
        if (MayStartAnother(inFlight, &waitMs) && TakeNext(&job, clipsInFlight)) {
            if (!::IsWindow(job.window))
                continue; // its requester went before its turn came
            if (job.Clip() && ClipInFlight(inFlight, job.path)) {
                waitingForTheirFile.push_back(job);
                continue;
            }
            if (job.Clip() && Unanswered(job.path.c_str())) {
                auto* result = new ThumbResult; // it hung before: another try would only leave another thread stuck
                result->timedOut = true;
                result->request = job.request;
                Deliver(job, result);
            } else if (Task* task = StartTask(job)) {
                inFlight.push_back(task);
            } else {
                auto* nothing = new ThumbResult; // nothing made
                nothing->request = job.request;
                Deliver(job, nothing);
            }
            continue;
        }
        HANDLE waits[2] = {stop_, wake_};
        if (::WaitForMultipleObjects(2, waits, FALSE, waitMs) == WAIT_OBJECT_0) {
            ::EnterCriticalSection(&lock_);
            stopping_ = true;
            ::LeaveCriticalSection(&lock_);
        }
    }
}

} // namespace

bool EnterThumbGdiplus() { return TheMaker().EnterGdiplus(); }

void LeaveThumbGdiplus() { TheMaker().LeaveGdiplus(); }

#ifdef QEL_TEST_SEAMS
void RunThumbWorkHook(const std::string& path) {
    if (g_hook)
        g_hook(path.c_str());
}
#endif

void RequestThumbnail(HWND window, const char* path, bool clip) {
    TheMaker().Request(Job{window, path ? path : "", clip ? JobKind::kClipThumb : JobKind::kPicture, 0});
}

void RequestClipStill(HWND window, const char* path, UINT request) {
    TheMaker().Request(Job{window, path ? path : "", JobKind::kClipStill, request});
}

bool ClipDidNotAnswer(const char* path) { return path && TheMaker().Unanswered(path); }

bool StopThumbnailMaking() { return TheMaker().Stop(); }

int ThumbJobsRunning() { return TheMaker().Running(); }

#ifdef QEL_TEST_SEAMS
void SetThumbMakingForTest(DWORD limitMs, ThumbWorkHook hook) {
    g_limitMs = limitMs;
    g_hook = hook;
}
#endif
