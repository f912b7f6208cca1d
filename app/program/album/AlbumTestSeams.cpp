// The album's test seams; both are off unless a test build or a test sets them.
#include "AlbumTestSeams.h"

namespace {

ClipTryObserver volatile g_clipTryObserver = nullptr;
volatile LONG g_repairReadPauseMs = 0;

} // namespace

void SetClipTryObserver(ClipTryObserver observer) { g_clipTryObserver = observer; }

void NoteClipTry(const char* path) {
    if (const ClipTryObserver observer = g_clipTryObserver)
        observer(path);
}

void SetRepairReadPause(DWORD ms) { ::InterlockedExchange(&g_repairReadPauseMs, static_cast<LONG>(ms)); }

DWORD RepairReadPause() { return static_cast<DWORD>(::InterlockedCompareExchange(&g_repairReadPauseMs, 0, 0)); }
