#pragma once
// Synthetic cameras for the preview tests, registered under fresh class IDs and names of the test's
// choice, and an engine object on a host window.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "test_camera.h"

namespace enginetest {

class CameraTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers a camera; returns its class ID.
    CLSID AddCamera(const std::wstring& name, DWORD variant);
    // Live instances of a camera in this process.
    LONG LiveCameras(const CLSID& clsid) const;
    // Starts the engine on the host window; the cameras must be registered before.
    HRESULT StartEngine();
    // The engine chooses the camera by its exact name and previews it.
    void PreviewCamera(const std::wstring& name);

    // Every preview build splices the flip, rotate and zoom plug-ins: where they are not registered,
    // their creation messages are answered here.
    qeltest::ScopedMessageBoxHook pluginMessages;
    HostWindow host;
    EngineProbe* engine = nullptr;

private:
    std::vector<std::unique_ptr<qelcam::ScopedTestCamera>> cameras_;
};

// Names of the filters in a graph, and whether one of them is of the given class.
std::vector<std::wstring> FilterNames(IGraphBuilder* graph);
bool GraphHoldsClass(IGraphBuilder* graph, REFCLSID clsid);

} // namespace enginetest
