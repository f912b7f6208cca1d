// The position-reporting thread of a playback and its detachment.
#include "ProgressThread.h"

#include "SentMessageWait.h"
#include "qeldshow/com_ptr.h"
#include "qeldshow/critical_section.h"

// What the thread and the session share; the thread keeps it alive for as long as it runs.
struct CProgressThread::Shared {
    CCritSec lock; // never held across a graph call or the callback
    qel::ComPtr<IMediaSeeking> seeking; // null once detached
    lpProgressCallback callback = nullptr;
    LONGLONG start = 0;
    LONGLONG stop = 0;
    DWORD user = 0;
    DWORD periodMs = 0;
    EventHandle detached{true};
    EventHandle turnDone{true}; // set while no read or report is in flight
    HMODULE module = nullptr; // held by the thread, so that the library stays while it runs
    std::atomic<bool> read{false};
    std::atomic<LONGLONG> lastPosition{0};
};

LONGLONG CProgressThread::LastPosition(LONGLONG otherwise) const {
    return shared_ && shared_->read.load() ? shared_->lastPosition.load() : otherwise;
}

CProgressThread::~CProgressThread() {
    Detach();
}

bool CProgressThread::Start(IMediaSeeking* seeking, lpProgressCallback callback, LONGLONG start,
                            LONGLONG stop, DWORD user, DWORD periodMs) {
    Detach();
    thread_.Reset();
    threadId_ = 0;
    auto shared = std::make_shared<Shared>();
    if (!shared->detached.Get() || !shared->turnDone.Get())
        return false;
    SetEvent(shared->turnDone.Get());
    shared->seeking = seeking;
    shared->callback = callback;
    shared->start = start;
    shared->stop = stop;
    shared->user = user;
    shared->periodMs = periodMs;
    shared->module = ReferenceOwnModule();
    auto* handedOver = new std::shared_ptr<Shared>(shared);
    HANDLE thread =
        CreateThread(nullptr, 0, &CProgressThread::Main, handedOver, CREATE_SUSPENDED, &threadId_);
    if (!thread) {
        if (shared->module)
            FreeLibrary(shared->module);
        delete handedOver;
        threadId_ = 0;
        return false;
    }
    thread_.Reset(thread);
    shared_ = shared;
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    ResumeThread(thread);
    return true;
}

bool CProgressThread::IsCurrentThread() const {
    return threadId_ != 0 && GetCurrentThreadId() == threadId_;
}

bool CProgressThread::Detach(DWORD limitMs) {
    if (!shared_)
        return true;
    std::shared_ptr<Shared> shared = std::move(shared_);
    qel::ComPtr<IMediaSeeking> seeking; // let go of outside the lock
    {
        CAutoLock hold(&shared->lock);
        seeking = std::move(shared->seeking);
        shared->callback = nullptr;
    }
    SetEvent(shared->detached.Get());
    if (WaitForSingleObject(shared->turnDone.Get(), 0) == WAIT_OBJECT_0)
        return true;
    if (IsCurrentThread() || limitMs == 0)
        return false;
    // A report in flight at the lowest priority would otherwise wait behind every busy thread.
    if (thread_)
        SetThreadPriority(thread_.Get(), THREAD_PRIORITY_NORMAL);
    return WaitHandlingSentMessages(shared->turnDone.Get(), limitMs);
}

DWORD WINAPI CProgressThread::Main(void* parameter) {
    std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    const HMODULE module = shared->module;
    while (WaitForSingleObject(shared->detached.Get(), shared->periodMs) == WAIT_TIMEOUT) {
        // The read and the report are one turn in flight: a detach waits the turn out, so that this
        // thread neither reports after it nor holds the last reference to the graph.
        qel::ComPtr<IMediaSeeking> seeking;
        {
            CAutoLock hold(&shared->lock);
            seeking = shared->seeking;
            if (seeking)
                ResetEvent(shared->turnDone.Get());
        }
        if (!seeking)
            break;
        LONGLONG current = 0;
        const HRESULT read = seeking->GetCurrentPosition(&current);
        seeking.Reset();
        if (SUCCEEDED(read)) {
            shared->lastPosition = current;
            shared->read = true;
        }
        if (FAILED(read) || current >= shared->stop) {
            SetEvent(shared->turnDone.Get());
            break;
        }
        lpProgressCallback callback = nullptr;
        {
            CAutoLock hold(&shared->lock); // a detach during the read has cleared it
            callback = shared->callback;
        }
        if (callback)
            callback(shared->start, shared->stop, current, shared->user);
        SetEvent(shared->turnDone.Get());
    }
    shared.reset();
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}
