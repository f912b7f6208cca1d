#include "qeltest/pump.h"

#include <windows.h>

namespace qeltest {
namespace {

void DispatchPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

void PumpMessagesFor(unsigned milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMilliseconds) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        DispatchPending();
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD wait = static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

} // namespace qeltest
