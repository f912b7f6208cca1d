#pragma once
#include <windows.h>

namespace qeltest {

// Test processes run side by side in one Wine prefix, and Wine's sound renderer fails now and then
// when several processes open the one sound device at once. Tests that render sound hold this
// machine-wide lock for their whole body.
class ScopedAudioDeviceLock {
public:
    ScopedAudioDeviceLock();
    ~ScopedAudioDeviceLock();
    ScopedAudioDeviceLock(const ScopedAudioDeviceLock&) = delete;
    ScopedAudioDeviceLock& operator=(const ScopedAudioDeviceLock&) = delete;

    bool Held() const { return held_; }

private:
    HANDLE mutex_;
    bool held_ = false;
};

} // namespace qeltest
