#pragma once
// The playback's position reports from a low-priority thread. The thread reads the position and calls
// the callback only inside a turn that Detach waits out: once Detach has returned, no report reaches
// the callback and the thread holds no reference to the graph, unless the turn is blocked past the
// limit (a callback that waits on the detaching thread itself), in which case that one call was made
// before Detach and it is the last. The position is read outside every lock, so a graph that does
// not answer holds only this thread.
#include <windows.h>
#include <dshow.h>

#include <atomic>
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
    // The last position the thread read; otherwise when it has read none (or is detached).
    LONGLONG LastPosition(LONGLONG otherwise) const;
    // Whether the calling thread is the reporting thread.
    bool IsCurrentThread() const;
    // The thread lets go of the graph and the callback and ends at its next look. From any other
    // thread, a turn in flight is waited for at most limitMs (sent messages are handled meanwhile);
    // true when no turn was left in flight.
    bool Detach(DWORD limitMs = 0);

private:
    struct Shared;
    static DWORD WINAPI Main(void* parameter);

    std::shared_ptr<Shared> shared_;
    Win32Handle thread_;
    DWORD threadId_ = 0;
};
