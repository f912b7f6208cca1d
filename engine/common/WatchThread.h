#pragma once
// The engine's watch threads (the free-space polling of a recording and of a render): started with a
// stop event, and ended from the owner's thread even while the watch is sending its owner a message.
// A watch sets `notifying` before it sends and touches its object no more afterwards.
#include <windows.h>

// Creates the stop event and the thread (priority above normal). On failure nothing is left and the
// error is returned.
HRESULT StartWatchThread(LPTHREAD_START_ROUTINE proc, void* argument, HANDLE& thread, HANDLE& stop,
                         volatile LONG& notifying);

// Signals the stop event and waits for the thread, answering messages it sends meanwhile; a watch
// already inside its notification is not waited for (it may be waiting for this very thread). Both
// handles are closed and cleared first, so a call nested in the notification finds nothing to end.
void EndWatchThread(HANDLE& thread, HANDLE& stop, volatile LONG& notifying);
