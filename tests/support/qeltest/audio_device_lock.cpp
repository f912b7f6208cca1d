#include "qeltest/audio_device_lock.h"

#include <cstdio>

namespace qeltest {

ScopedAudioDeviceLock::ScopedAudioDeviceLock() : mutex_(CreateMutexA(nullptr, FALSE, "QelTestAudioDevice")) {
    if (!mutex_) {
        std::fprintf(stderr, "audio device lock: CreateMutex failed (%lu)\n", GetLastError());
        return;
    }
    const DWORD waited = WaitForSingleObject(mutex_, 60000);
    // An abandoned lock (a test process that died holding it) is ours now all the same.
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!held_)
        std::fprintf(stderr, "audio device lock: not taken within a minute\n");
}

ScopedAudioDeviceLock::~ScopedAudioDeviceLock() {
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
}

} // namespace qeltest
