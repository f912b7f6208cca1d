// The position-reporting thread of a playback and its detachment.
#include "ProgressThread.h"

#include "qeldshow/com_ptr.h"
#include "qeldshow/critical_section.h"

// What the thread and the session share; the thread keeps it alive for as long as it runs.
struct CProgressThread::Shared {
    CCritSec lock;
    qel::ComPtr<IMediaSeeking> seeking; // null once detached
    lpProgressCallback callback = nullptr;
    LONGLONG start = 0;
    LONGLONG stop = 0;
    DWORD user = 0;
    DWORD periodMs = 0;
    EventHandle detached{true};
    HMODULE module = nullptr; // held by the thread, so that the library stays while it runs
};

namespace {

// The module this code lives in, with one more reference on it.
HMODULE ReferenceOwnModule(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

} // namespace

CProgressThread::~CProgressThread() {
    Detach();
}

bool CProgressThread::Start(IMediaSeeking* seeking, lpProgressCallback callback, LONGLONG start,
                            LONGLONG stop, DWORD user, DWORD periodMs) {
    Detach();
    thread_.Reset();
    threadId_ = 0;
    auto shared = std::make_shared<Shared>();
    if (!shared->detached.Get())
        return false;
    shared->seeking = seeking;
    shared->callback = callback;
    shared->start = start;
    shared->stop = stop;
    shared->user = user;
    shared->periodMs = periodMs;
    shared->module = ReferenceOwnModule(reinterpret_cast<const void*>(&CProgressThread::Main));
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

void CProgressThread::Detach() {
    if (!shared_)
        return;
    {
        CAutoLock hold(&shared_->lock);
        shared_->seeking.Reset();
        shared_->callback = nullptr;
    }
    SetEvent(shared_->detached.Get());
    shared_.reset();
}

bool CProgressThread::WaitForEnd(DWORD limitMs) {
    if (!thread_)
        return true;
    if (IsCurrentThread())
        return false;
    HANDLE thread = thread_.Get();
    const DWORD began = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - began;
        if (spent >= limitMs)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        // The thread may be inside the caller's callback, sending a message to this very thread.
        const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, limitMs - spent, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0)
            return true;
        if (woke != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

DWORD WINAPI CProgressThread::Main(void* parameter) {
    std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    const HMODULE module = shared->module;
    while (WaitForSingleObject(shared->detached.Get(), shared->periodMs) == WAIT_TIMEOUT) {
        LONGLONG current = 0;
        lpProgressCallback callback = nullptr;
        {
            CAutoLock hold(&shared->lock);
            if (!shared->seeking || FAILED(shared->seeking->GetCurrentPosition(&current)))
                break;
            callback = shared->callback;
        }
        if (!callback)
            continue;
        if (current >= shared->stop)
            break;
        callback(shared->start, shared->stop, current, shared->user);
    }
    shared.reset();
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}
