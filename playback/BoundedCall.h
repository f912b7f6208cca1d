#pragma once
// Graph calls the platform may never return from (a damaged file can hang its source filter while it
// is added and connected; a renderer can hang its graph's stop): each runs on a thread of its own
// while the caller waits a bounded time, handling sent messages. When the time passes the caller goes
// on without it; the task keeps what it captured (its own references) and lets go of it on its own
// thread if it ever returns. A task therefore captures only what it owns: never the caller's objects.
#include <windows.h>

#include <functional>

// The answer when the task did not end within its limit.
constexpr HRESULT kCallTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

// Runs task on a new thread (COM initialised there) and waits at most limitMs for it: its result,
// kCallTimedOut, or the failure to start the thread.
HRESULT CallWithLimit(std::function<HRESULT()> task, DWORD limitMs);
