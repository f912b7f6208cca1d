#pragma once
// The playback's position reports from a low-priority thread. The thread reads the position through
// a reference of its own, under a lock that Detach takes to drop it: once detached it never touches
// the graph again and reports nothing more. A stop therefore waits for it only a bounded time (while
// handling messages sent to the stopping thread), and not at all when the thread itself is stopping.
#include <windows.h>
#include <dshow.h>

#include <memory>

#include "Fluvant.h"
#include "Win32Handle.h"

class CProgressThread {
public:
    CProgressThread() = default;
    ~CProgressThread();
    CProgressThread(const CProgressThread&) = delete;
    CProgressThread& operator=(const CProgressThread&) = delete;

    // Starts the thread at the lowest priority: every period it reads the position and, until it has
    // reached stop, calls callback (start, stop, position, user). A failed read ends it. False when
    // the thread could not be started.
    bool Start(IMediaSeeking* seeking, lpProgressCallback callback, LONGLONG start, LONGLONG stop, DWORD user,
               DWORD periodMs);
    // Whether the calling thread is the reporting thread.
    bool IsCurrentThread() const;
    // The thread lets go of the graph and the callback and ends at its next look.
    void Detach();
    // Waits at most limitMs for the thread to end, handling messages sent to this thread meanwhile;
    // true when it ended.
    bool WaitForEnd(DWORD limitMs);

private:
    struct Shared;
    static DWORD WINAPI Main(void* parameter);

    std::shared_ptr<Shared> shared_;
    Win32Handle thread_;
    DWORD threadId_ = 0;
};
