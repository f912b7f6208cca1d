#include "WatchThread.h"

HRESULT StartWatchThread(LPTHREAD_START_ROUTINE proc, void* argument, HANDLE& thread, HANDLE& stop,
                         volatile LONG& notifying) {
    EndWatchThread(thread, stop, notifying);
    notifying = 0;
    stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop)
        return HRESULT_FROM_WIN32(GetLastError());
    thread = CreateThread(nullptr, 0, proc, argument, 0, nullptr);
    if (!thread) {
        const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
        CloseHandle(stop);
        stop = nullptr;
        return hr;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL);
    return S_OK;
}

void EndWatchThread(HANDLE& thread, HANDLE& stop, volatile LONG& notifying) {
    HANDLE ending = thread;
    HANDLE event = stop;
    if (!ending)
        return;
    thread = nullptr;
    stop = nullptr;
    SetEvent(event);
    while (!notifying) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &ending, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(ending);
    CloseHandle(event);
}
