#pragma once
// Graph calls the platform may never return from (a damaged file can hang its source filter while it
// is added and connected; a renderer can hang its graph's stop): each runs on a thread of its own
// while the caller waits, handling sent messages. The wait gives the call up only when it makes no
// progress: a busy machine makes a healthy call slow, not stuck. When it gives up, the caller goes on
// without it; the task keeps what it captured (its own references) and lets go of it on its own
// thread if it ever returns. A task therefore captures only what it owns: never the caller's objects.
#include <windows.h>

#include <functional>

#include "Win32Handle.h"

// The answer when the task was given up.
constexpr HRESULT kCallTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

// When a call is given up: once its thread has used no processor time for quietMs (it waits on
// something that does not come), or once ceilingMs have passed however busy it is (it spins).
struct CallLimit {
    DWORD quietMs;
    DWORD ceilingMs;
};

// Runs task on a new thread (COM initialised there) and waits for it within limit: its result,
// kCallTimedOut, or the failure to start the thread. On kCallTimedOut, leftRunning (when given)
// receives a handle of the caller's to the thread still inside the task, signalled when it ends.
HRESULT CallWithLimit(std::function<HRESULT()> task, CallLimit limit, HANDLE* leftRunning = nullptr);
