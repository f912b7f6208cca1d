// A graph call on a thread of its own, waited for while it makes progress.
#include "BoundedCall.h"

#include <objbase.h>

#include <algorithm>
#include <memory>

#include "SentMessageWait.h"

namespace {

// How often the wait looks at the task thread's processor time.
constexpr DWORD kProgressLookMs = 250;

// What the caller and the task's thread share; whichever lets go last frees it.
struct CallState {
    std::function<HRESULT()> task;
    HRESULT result = E_FAIL;
    EventHandle done{true};
    HMODULE module = nullptr;
};

DWORD WINAPI CallMain(void* parameter) {
    std::shared_ptr<CallState> state = std::move(*static_cast<std::shared_ptr<CallState>*>(parameter));
    delete static_cast<std::shared_ptr<CallState>*>(parameter);
    const HRESULT com = CoInitialize(nullptr);
    state->result = state->task();
    state->task = nullptr; // its references go here, on this thread, before COM does
    SetEvent(state->done.Get());
    const HMODULE module = state->module;
    state.reset();
    if (SUCCEEDED(com))
        CoUninitialize();
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

} // namespace

HRESULT CallWithLimit(std::function<HRESULT()> task, CallLimit limit, HANDLE* leftRunning) {
    auto state = std::make_shared<CallState>();
    if (!state->done.Get())
        return HRESULT_FROM_WIN32(GetLastError());
    state->task = std::move(task);
    state->module = ReferenceOwnModule();
    auto* handedOver = new std::shared_ptr<CallState>(state);
    Win32Handle thread(CreateThread(nullptr, 0, &CallMain, handedOver, 0, nullptr));
    if (!thread) {
        const HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        if (state->module)
            FreeLibrary(state->module);
        delete handedOver;
        return failure;
    }
    const DWORD began = GetTickCount();
    DWORD lastProgress = began;
    ULONGLONG used = ThreadProcessorTime(thread.Get());
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD quietLeft = limit.quietMs - std::min(limit.quietMs, now - lastProgress);
        const DWORD ceilingLeft = limit.ceilingMs - std::min(limit.ceilingMs, now - began);
        const DWORD slice = std::min({kProgressLookMs, quietLeft, ceilingLeft});
        if (WaitHandlingSentMessages(state->done.Get(), slice))
            return state->result;
        const ULONGLONG usedNow = ThreadProcessorTime(thread.Get());
        const DWORD looked = GetTickCount();
        if (usedNow > used) {
            used = usedNow;
            lastProgress = looked;
        }
        if (looked - lastProgress >= limit.quietMs || looked - began >= limit.ceilingMs)
            break;
    }
    if (leftRunning &&
        !DuplicateHandle(GetCurrentProcess(), thread.Get(), GetCurrentProcess(), leftRunning, SYNCHRONIZE, FALSE, 0))
        *leftRunning = nullptr;
    return kCallTimedOut;
}
