#include "camera_directory.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "camera_filter.h"

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
        entry = std::make_shared<CameraControls>();
    return entry;
}

void ForEachControls(const CLSID* clsid, const std::function<void(CameraControls&)>& apply) {
    if (clsid) {
        apply(*ControlsFor(*clsid));
        return;
    }
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    for (auto& entry : d.controls)
        apply(*entry.second);
}

void Add(CTestCamera* camera) {
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    d.cameras.push_back(camera);
}

void Remove(CTestCamera* camera) {
    Directory& d = TheDirectory();
    std::lock_guard<std::mutex> hold(d.lock);
    for (auto it = d.cameras.begin(); it != d.cameras.end(); ++it) {
        if (*it == camera) {
            d.cameras.erase(it);
            return;
        }
    }
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

}  // namespace camera_directory
