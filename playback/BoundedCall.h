#pragma once
// Graph calls the platform may never return from (a damaged file can hang its source filter while it
// is added and connected; a renderer can hang its graph's stop): each runs on a thread of its own,
// watched by the caller, who either waits for it handling sent messages (CallWithLimit) or goes on
// with its own messages and looks at it again when told it ended (CWatchedTask). A task is given up
// only when it makes no progress: a busy machine makes a healthy call slow, not stuck. A given-up
// task keeps what it captured (its own references) and lets go of it on its own thread if it ever
// returns. A task therefore captures only what it owns: never the caller's objects.
#include <windows.h>

#include <functional>
#include <memory>

#include "Win32Handle.h"

// The answer when the task was given up.
constexpr HRESULT kCallTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

// When a call is given up: once its thread has used no processor time for quietMs (it waits on
// something that does not come), or once ceilingMs have passed however busy it is (it spins).
struct CallLimit {
    DWORD quietMs;
    DWORD ceilingMs;
};

// One task on a thread of its own and the watch over its progress.
class CWatchedTask {
public:
    enum class State { kRunning, kDone, kStuck };

    CWatchedTask() = default;
    CWatchedTask(const CWatchedTask&) = delete;
    CWatchedTask& operator=(const CWatchedTask&) = delete;

    // Starts task on a new thread (COM initialised there); once it has returned, message is posted
    // to window (when given) with param. S_OK, or why the thread could not be started.
    HRESULT Start(std::function<HRESULT()> task, CallLimit limit, HWND window = nullptr, UINT message = 0,
                  WPARAM param = 0);
    // Done (its result is there), still making progress, or stuck: no processor time for the quiet
    // time, or past the ceiling. Cheap; call it whenever told, or every LookAgainMs.
    State Look();
    HRESULT Result() const;
    HANDLE Done() const;
    // How long until Look can tell something new.
    DWORD LookAgainMs() const;
    // A handle of the caller's to the task's thread, signalled when it ends; null when none is left.
    HANDLE DuplicateThread() const;

private:
    struct Shared;
    static DWORD WINAPI Main(void* parameter);

    std::shared_ptr<Shared> shared_;
    Win32Handle thread_;
    CallLimit limit_ = {0, 0};
    DWORD began_ = 0;
    DWORD lastProgress_ = 0;
    ULONGLONG used_ = 0;
};

// Runs task on a new thread and waits for it, handling sent messages, while it makes progress: its
// result, kCallTimedOut, or the failure to start the thread. On kCallTimedOut, leftRunning (when
// given) receives a handle of the caller's to the thread still inside the task.
HRESULT CallWithLimit(std::function<HRESULT()> task, CallLimit limit, HANDLE* leftRunning = nullptr);
