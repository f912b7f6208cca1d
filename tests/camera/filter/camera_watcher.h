#pragma once
// The thread that raises, on this process's cameras, the events other processes of the prefix raise on
// theirs. It runs while the process has cameras, so that a module without cameras holds no thread.
#include <windows.h>

namespace camera_watcher {

// Starts or stops the thread to match whether the process has cameras now; call after each change.
// Fails when the thread is needed and cannot be started.
HRESULT Follow();

}  // namespace camera_watcher
