#pragma once
// What the program's process costs while a test watches it: processor time over a stretch and the
// handles it holds. Wine reads 0 for GetProcessHandleCount, so handles are counted by probing values.
#include <windows.h>

#include "zentrik_run.h"

namespace programtest {

// The processor time (kernel and user) the program took while the test pumped its boxes for ms.
long CpuMsOver(ZentrikRun& run, DWORD ms);
// How many of the program's first handle values name a handle: each that can be duplicated into this
// process counts. -1 when the process cannot be opened.
long HandleCountOf(DWORD pid);

} // namespace programtest
