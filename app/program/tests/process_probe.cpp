#include "process_probe.h"

namespace programtest {

namespace {

ULONGLONG CpuMsOf(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!process || !::GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    return (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
            ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart) /
           10000;
}

// Far above what the program holds: a leak of this size shows well before the probe runs out.
constexpr ULONG_PTR kProbedHandleValues = 32768;

} // namespace

long CpuMsOver(ZentrikRun& run, DWORD ms) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, run.ProcessId());
    const ULONGLONG before = CpuMsOf(process);
    run.Pump(ms);
    const ULONGLONG after = CpuMsOf(process);
    if (process)
        ::CloseHandle(process);
    return static_cast<long>(after - before);
}

long HandleCountOf(DWORD pid) {
    HANDLE process = ::OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid);
    if (!process)
        return -1;
    long count = 0;
    for (ULONG_PTR value = 4; value < kProbedHandleValues * 4; value += 4) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(process, reinterpret_cast<HANDLE>(value), ::GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS)) {
            ++count;
            ::CloseHandle(copy);
        }
    }
    ::CloseHandle(process);
    return count;
}

} // namespace programtest
