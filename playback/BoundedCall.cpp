// A graph call on a thread of its own, watched while it makes progress.
#include "BoundedCall.h"

#include <objbase.h>

#include <algorithm>

#include "SentMessageWait.h"

namespace {

// How often a waiting caller looks at the task thread's processor time.
constexpr DWORD kProgressLookMs = 250;

} // namespace

// What the caller and the task's thread share; whichever lets go last frees it.
struct CWatchedTask::Shared {
    std::function<HRESULT()> task;
    HRESULT result = E_FAIL;
    EventHandle done{true};
    HMODULE module = nullptr;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM param = 0;
};

DWORD WINAPI CWatchedTask::Main(void* parameter) {
    std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    const HRESULT com = CoInitialize(nullptr);
    shared->result = shared->task();
    shared->task = nullptr; // its references go here, on this thread, before COM does
    SetEvent(shared->done.Get());
    if (shared->window)
        PostMessageA(shared->window, shared->message, shared->param, 0);
    const HMODULE module = shared->module;
    shared.reset();
    if (SUCCEEDED(com))
        CoUninitialize();
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

HRESULT CWatchedTask::Start(std::function<HRESULT()> task, CallLimit limit, HWND window, UINT message, WPARAM param) {
    auto shared = std::make_shared<Shared>();
    if (!shared->done.Get())
        return HRESULT_FROM_WIN32(GetLastError());
    shared->task = std::move(task);
    shared->module = ReferenceOwnModule();
    shared->window = window;
    shared->message = message;
    shared->param = param;
    auto* handedOver = new std::shared_ptr<Shared>(shared);
    HANDLE thread = CreateThread(nullptr, 0, &CWatchedTask::Main, handedOver, 0, nullptr);
    if (!thread) {
        const HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        if (shared->module)
            FreeLibrary(shared->module);
        delete handedOver;
        return failure;
    }
    shared_ = std::move(shared);
    thread_.Reset(thread);
    limit_ = limit;
    began_ = lastProgress_ = GetTickCount();
    used_ = ThreadProcessorTime(thread);
    return S_OK;
}

CWatchedTask::State CWatchedTask::Look() {
    if (!shared_ || WaitForSingleObject(shared_->done.Get(), 0) == WAIT_OBJECT_0)
        return State::kDone;
    const ULONGLONG usedNow = ThreadProcessorTime(thread_.Get());
    const DWORD now = GetTickCount();
    if (usedNow > used_) {
        used_ = usedNow;
        lastProgress_ = now;
    }
    return now - lastProgress_ >= limit_.quietMs || now - began_ >= limit_.ceilingMs ? State::kStuck : State::kRunning;
}

HRESULT CWatchedTask::Result() const { return shared_ ? shared_->result : E_UNEXPECTED; }

HANDLE CWatchedTask::Done() const { return shared_ ? shared_->done.Get() : nullptr; }

DWORD CWatchedTask::LookAgainMs() const {
    const DWORD now = GetTickCount();
    const DWORD quietLeft = limit_.quietMs - std::min(limit_.quietMs, now - lastProgress_);
    const DWORD ceilingLeft = limit_.ceilingMs - std::min(limit_.ceilingMs, now - began_);
    return std::min({kProgressLookMs, quietLeft, ceilingLeft});
}

HANDLE CWatchedTask::DuplicateThread() const {
    HANDLE copy = nullptr;
    if (!thread_ ||
        !DuplicateHandle(GetCurrentProcess(), thread_.Get(), GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0))
        return nullptr;
    return copy;
}

HRESULT CallWithLimit(std::function<HRESULT()> task, CallLimit limit, HANDLE* leftRunning) {
    CWatchedTask watched;
    const HRESULT started = watched.Start(std::move(task), limit);
    if (FAILED(started))
        return started;
    for (;;) {
        WaitHandlingSentMessages(watched.Done(), watched.LookAgainMs());
        switch (watched.Look()) {
        case CWatchedTask::State::kDone: return watched.Result();
        case CWatchedTask::State::kStuck:
            if (leftRunning)
                *leftRunning = watched.DuplicateThread();
            return kCallTimedOut;
        case CWatchedTask::State::kRunning: break;
        }
    }
}
