#include "camera_directory.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "camera_filter.h"
#include "camera_watcher.h"

namespace {

struct ClsidLess {
    bool operator()(const CLSID& a, const CLSID& b) const { return std::memcmp(&a, &b, sizeof(CLSID)) < 0; }
};

struct Directory {
    std::mutex lock;
    std::map<CLSID, std::shared_ptr<CameraControls>, ClsidLess> controls;
    std::vector<CTestCamera*> cameras;
};

Directory& TheDirectory() {
    // Never destroyed: cameras may outlive static destruction when a process exits with them alive.
    static Directory* directory = new Directory;
    return *directory;
}

}  // namespace

namespace camera_directory {

std::shared_ptr<CameraControls> ControlsFor(REFCLSID clsid) {
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    auto& entry = d.controls[clsid];
    if (!entry)
        entry = std::make_shared<CameraControls>(clsid);
    return entry;
}

void ForEachControls(const CLSID* clsid, const std::function<void(CameraControls&)>& apply) {
    if (clsid) {
        apply(*ControlsFor(*clsid));
        return;
    }
    // Applied outside the lock: publishing an event waits for other processes.
    std::vector<std::shared_ptr<CameraControls>> all;
    {
        Directory& d = TheDirectory();
        std::lock_guard<std::mutex> hold(d.lock);
        for (auto& entry : d.controls)
            all.push_back(entry.second);
    }
    for (auto& controls : all)
        apply(*controls);
}

HRESULT Add(CTestCamera* camera) {
    Directory& d = TheDirectory();
    {
        std::lock_guard<std::mutex> hold(d.lock);
        d.cameras.push_back(camera);
        camera->Controls().InstanceAdded();
    }
    return camera_watcher::Follow();
}

void Remove(CTestCamera* camera) {
    Directory& d = TheDirectory();
    {
        std::lock_guard<std::mutex> hold(d.lock);
        for (auto it = d.cameras.begin(); it != d.cameras.end(); ++it) {
            if (*it == camera) {
                d.cameras.erase(it);
                camera->Controls().InstanceRemoved();
                break;
            }
        }
    }
    // Outside the lock: stopping waits for the watcher, which takes the lock.
    camera_watcher::Follow();
}

int ForEachCamera(const CLSID* clsid, const std::function<void(CTestCamera&)>& apply) {
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    int count = 0;
    for (CTestCamera* camera : d.cameras) {
        if (clsid && camera->ClassId() != *clsid)
            continue;
        apply(*camera);
        ++count;
    }
    return count;
}

HRESULT RaiseOnCameras(const CLSID* clsid, long code, LONG_PTR param, int* cameras) {
    HRESULT first = S_OK;
    *cameras = ForEachCamera(clsid, [&](CTestCamera& camera) {
        const HRESULT hr = camera.RaiseEvent(code, param);
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    });
    return first;
}

int CameraCount() {
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    return static_cast<int>(d.cameras.size());
}

void RaiseOtherProcessEvents() {
    std::vector<std::shared_ptr<CameraControls>> withCameras;
    {
        Directory& d = TheDirectory();
        std::lock_guard<std::mutex> hold(d.lock);
        for (auto& entry : d.controls)
            if (entry.second->LocalInstances() > 0)
                withCameras.push_back(entry.second);
    }
    for (auto& controls : withCameras) {
        const CLSID clsid = controls->Clsid();
        controls->TakeOtherProcessEvents([&](long code, LONGLONG param) {
            int cameras = 0;
            return RaiseOnCameras(&clsid, code, static_cast<LONG_PTR>(param), &cameras);
        });
    }
}

}  // namespace camera_directory
