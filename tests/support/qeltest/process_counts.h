#pragma once
// What a process holds, for tests that repeat an operation and expect it to leave nothing behind.
// Wine reads 0 for the handle count and private usage, so these count in ways that work there.
#include <windows.h>

#include <cstdint>

namespace qeltest {

// The value a new handle gets: Wine hands out the lowest free slot, so it rises as handles leak.
uintptr_t NextHandleSlot();
// This process's threads, by a Toolhelp snapshot.
int ThreadCount();
// Committed memory (PagefileUsage).
SIZE_T CommittedBytes();

} // namespace qeltest
