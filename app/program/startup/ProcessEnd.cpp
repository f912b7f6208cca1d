// The process's end past work stuck inside the platform: see ProcessEnd.h.
#include "ProcessEnd.h"

#include <cstdio>

#include <Fluvant.h>
#include <ProgramFolder.h>

#include "ThumbMaker.h"
#include "WorkLane.h"

int ThreadsLeftInsidePlatform() { return lpThreadsLeftInside() + CWorkLane::JobsRunning() + ThumbJobsRunning(); }

void EndProcessIfWorkIsLeftInside(UINT exitCode) {
    if (ThreadsLeftInsidePlatform() == 0)
        return;
    // A system that caches the settings file writes it now; every other file the program wrote is
    // closed by now, and a delete pending on a handle of a stuck thread is done as the process ends.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, qelapp::SettingsFilePath());
    std::fflush(nullptr);
    // Unlike ExitProcess, no library is told the process detaches.
    ::TerminateProcess(::GetCurrentProcess(), exitCode);
}
