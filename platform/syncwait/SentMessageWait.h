#pragma once
// Waiting on the caller's (the user-interface) thread without shutting it: messages other threads
// send to it are handled meanwhile, so that a thread the wait is for can finish a SendMessage to it.
// Posted messages and input stay queued: nothing the user does runs inside the wait.
#include <windows.h>

// Waits at most limitMs (INFINITE: no limit) for handle; true when it was signalled. A null handle
// makes it a pause that answers sent messages (false).
bool WaitHandlingSentMessages(HANDLE handle, DWORD limitMs);

// The module this code lives in, with one more reference on it (null when it cannot be had): a thread
// that may outlive its caller holds it, so that the library is not unloaded under it.
HMODULE ReferenceOwnModule();

// The processor time (kernel and user, 100-ns units) a thread has used so far: a bounded wait takes
// its growth as the sign that the thread it waits for still works. 0 when it cannot be read.
ULONGLONG ThreadProcessorTime(HANDLE thread);
