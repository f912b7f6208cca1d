#include "qeltest/process_counts.h"

#include <psapi.h>
#include <tlhelp32.h>

namespace qeltest {

uintptr_t NextHandleSlot() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const uintptr_t value = reinterpret_cast<uintptr_t>(probe);
    if (probe)
        CloseHandle(probe);
    return value;
}

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    CloseHandle(snapshot);
    return count;
}

SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

} // namespace qeltest
