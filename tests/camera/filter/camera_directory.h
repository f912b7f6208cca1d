#pragma once
// The synthetic cameras of this process: the switches of each CLSID (shared with every process of the
// prefix) and the live instances that events are raised on.
#include <windows.h>

#include <functional>
#include <memory>

#include "camera_controls.h"

class CTestCamera;

namespace camera_directory {

// The switches of one CLSID, made on first use and kept for the life of the process.
std::shared_ptr<CameraControls> ControlsFor(REFCLSID clsid);
// Calls apply for the switches of clsid, or of every CLSID seen in this process when clsid is null.
void ForEachControls(const CLSID* clsid, const std::function<void(CameraControls&)>& apply);

// A camera made in this process; fails when it cannot be reached from other processes.
HRESULT Add(CTestCamera* camera);
void Remove(CTestCamera* camera);
// Calls apply for each live camera of clsid (all when null) under the directory's lock, so that
// none of them is destroyed meanwhile. Returns how many there were.
int ForEachCamera(const CLSID* clsid, const std::function<void(CTestCamera&)>& apply);
int CameraCount();
// Raises the event on each live camera of clsid (all when null); the first failure, if any.
HRESULT RaiseOnCameras(const CLSID* clsid, long code, LONG_PTR param, int* cameras);
// Raises on this process's cameras the events other processes published for them.
void RaiseOtherProcessEvents();

}  // namespace camera_directory
