#pragma once
// The synthetic cameras of this process: per-CLSID switches that tests flip, and the live instances
// that events are raised on.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

class CTestCamera;

struct CameraControls {
    std::atomic<bool> delivering{true};
    std::atomic<bool> mirrored{false};
    std::atomic<ULONG> buttonState{0};
};

namespace camera_directory {

// The switches of one CLSID, made on first use and kept for the life of the process.
std::shared_ptr<CameraControls> ControlsFor(REFCLSID clsid);
// Calls apply for the switches of clsid, or of every CLSID seen when clsid is null.
void ForEachControls(const CLSID* clsid, const std::function<void(CameraControls&)>& apply);

void Add(CTestCamera* camera);
void Remove(CTestCamera* camera);
// Calls apply for each live camera of clsid (all when null) under the directory's lock, so that
// none of them is destroyed meanwhile. Returns how many there were.
int ForEachCamera(const CLSID* clsid, const std::function<void(CTestCamera&)>& apply);

}  // namespace camera_directory
