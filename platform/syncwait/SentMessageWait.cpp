// Bounded waits that keep handling sent messages, the module reference of outliving threads, and the
// processor time by which a wait sees that a thread still works.
#include "SentMessageWait.h"

bool WaitHandlingSentMessages(HANDLE handle, DWORD limitMs) {
    const DWORD began = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (limitMs != INFINITE) {
            const DWORD spent = GetTickCount() - began;
            if (spent >= limitMs)
                return handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            left = limitMs - spent;
        }
        const DWORD count = handle ? 1 : 0;
        const DWORD woke = MsgWaitForMultipleObjects(count, handle ? &handle : nullptr, FALSE, left, QS_SENDMESSAGE);
        if (count && woke == WAIT_OBJECT_0)
            return true;
        if (woke != WAIT_OBJECT_0 + count)
            return handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        // Peeking is what delivers the sent messages; nothing is taken from the posted queue.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

HMODULE ReferenceOwnModule() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(reinterpret_cast<const void*>(&ReferenceOwnModule)), &module))
        return nullptr;
    return module;
}

ULONGLONG ThreadProcessorTime(HANDLE thread) {
    FILETIME created = {}, ended = {}, kernel = {}, user = {};
    if (!GetThreadTimes(thread, &created, &ended, &kernel, &user))
        return 0;
    const auto value = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return value(kernel) + value(user);
}
