#pragma once
// Whether the program's window answers: how long a message takes, and waiting out the start-up's own
// moment of holding the window (about 1 s after the live picture shows, with any album).
#include <windows.h>

#include "zentrik_run.h"

namespace programtest {

// How long window took to answer a message, in ms; -1 when it did not answer within limit.
inline long AnswerTime(HWND window, UINT limit) {
    const DWORD start = ::GetTickCount();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limit, &result))
        return -1;
    return static_cast<long>(::GetTickCount() - start);
}

// Waits for three quick answers in a row (within 10 s); whether they came.
inline bool WaitUntilSettled(ZentrikRun& run) {
    int quick = 0;
    for (int i = 0; i < 50 && quick < 3; ++i) {
        const long took = AnswerTime(run.Dialog(), 5000);
        quick = took >= 0 && took < 300 ? quick + 1 : 0;
        run.Pump(200);
    }
    return quick == 3;
}

} // namespace programtest
