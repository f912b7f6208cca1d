#include "camera_watcher.h"

#include <mutex>

#include "camera_directory.h"
#include "camera_shared_block.h"

namespace {

// A look now and then as well as on a wake: a process may publish while this thread is being made.
const DWORD kLookIntervalMs = 50;

struct Watcher {
    std::mutex lock;  // starting and stopping
    HANDLE thread = nullptr;
    HANDLE stop = nullptr;
    HANDLE wake = nullptr;
};

Watcher& TheWatcher() {
    // Never destroyed, as the directory: cameras may be alive while the process exits.
    static Watcher* watcher = new Watcher;
    return *watcher;
}

DWORD WINAPI Watch(void*) {
    Watcher& w = TheWatcher();
    const HANDLE handles[] = {w.stop, w.wake};
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, kLookIntervalMs);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            return 0;
        camera_directory::RaiseOtherProcessEvents();
    }
}

void CloseAll(Watcher& w) {
    for (HANDLE* handle : {&w.thread, &w.stop, &w.wake}) {
        if (*handle)
            CloseHandle(*handle);
        *handle = nullptr;
    }
}

HRESULT Start(Watcher& w) {
    w.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    w.wake = CreateEventW(nullptr, FALSE, FALSE, CameraWakeEventName(GetCurrentProcessId()).c_str());
    if (w.stop && w.wake)
        w.thread = CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr);
    if (w.thread)
        return S_OK;
    const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
    CloseAll(w);
    return FAILED(hr) ? hr : E_FAIL;
}

void Stop(Watcher& w) {
    SetEvent(w.stop);
    WaitForSingleObject(w.thread, INFINITE);
    CloseAll(w);
}

}  // namespace

namespace camera_watcher {

HRESULT Follow() {
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> hold(w.lock);
    // Asked under the lock: of two callers racing, the later one sees the final count.
    const bool wanted = camera_directory::CameraCount() > 0;
    if (wanted && !w.thread)
        return Start(w);
    if (!wanted && w.thread)
        Stop(w);
    return S_OK;
}

}  // namespace camera_watcher
