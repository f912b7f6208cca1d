#pragma once
// Synthetic cameras for the preview tests: the test camera module registers cameras of its own under
// fresh class IDs and names, and counts the live camera instances of this process.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"
#include "test_camera_exports.h"

namespace enginetest {

class CameraTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers a camera; returns its class ID.
    CLSID AddCamera(const std::wstring& name, DWORD variant);
    LONG LiveCameras(const CLSID& clsid) const;
    // Starts the engine on the host window; the cameras must be registered before.
    HRESULT StartEngine();
    // The engine chooses the camera by name (exact) and previews it.
    void PreviewCamera(const std::wstring& name);

    HostWindow host;
    EngineProbe* engine = nullptr;

private:
    HMODULE module_ = nullptr;
    std::vector<CLSID> cameras_;
};

// Names of the filters in the engine's graph, and whether one of them is of the given class.
std::vector<std::wstring> FilterNames(IGraphBuilder* graph);
bool GraphHoldsClass(IGraphBuilder* graph, REFCLSID clsid);

} // namespace enginetest
