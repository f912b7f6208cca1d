// A graph call on a thread of its own, waited for a bounded time.
#include "BoundedCall.h"

#include <objbase.h>

#include <memory>

#include "SentMessageWait.h"
#include "Win32Handle.h"

namespace {

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

HRESULT CallWithLimit(std::function<HRESULT()> task, DWORD limitMs) {
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
    if (!WaitHandlingSentMessages(state->done.Get(), limitMs))
        return kCallTimedOut;
    return state->result;
}
