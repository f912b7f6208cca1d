#include "camera_fixture.h"

namespace enginetest {

void CameraTest::SetUp() {
    qeltest::ComTest::SetUp();
    if (!qelcam::CameraModule())
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " cannot be loaded";
    // Cameras that an earlier, interrupted run left registered would change every count.
    ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
    engine = new EngineProbe;
}

void CameraTest::TearDown() {
    delete engine; // every camera instance goes with the engine object
    engine = nullptr;
    cameras_.clear();
    qeltest::ComTest::TearDown();
}

CLSID CameraTest::AddCamera(const std::wstring& name, DWORD variant) {
    cameras_.push_back(std::make_unique<qelcam::ScopedTestCamera>(name, variant));
    EXPECT_EQ(S_OK, cameras_.back()->Result()) << "registering the camera";
    return cameras_.back()->Clsid();
}

LONG CameraTest::LiveCameras(const CLSID& clsid) const {
    for (const auto& camera : cameras_)
        if (IsEqualCLSID(camera->Clsid(), clsid))
            return camera->LiveInstances();
    return -1;
}

HRESULT CameraTest::StartEngine() {
    return engine->InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
}

void CameraTest::PreviewCamera(const std::wstring& name) {
    ASSERT_EQ(0, StartEngine());
    UINT index = 99;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, name.c_str(), &index));
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

std::vector<std::wstring> FilterNames(IGraphBuilder* graph) {
    std::vector<std::wstring> names;
    IEnumFilters* filters = nullptr;
    if (!graph || FAILED(graph->EnumFilters(&filters)))
        return names;
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info = {};
        if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
            names.push_back(info.achName);
            if (info.pGraph)
                info.pGraph->Release();
        }
        filter->Release();
    }
    filters->Release();
    return names;
}

bool GraphHoldsClass(IGraphBuilder* graph, REFCLSID clsid) {
    bool found = false;
    IEnumFilters* filters = nullptr;
    if (!graph || FAILED(graph->EnumFilters(&filters)))
        return false;
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        CLSID own = GUID_NULL;
        if (SUCCEEDED(filter->GetClassID(&own)) && IsEqualCLSID(own, clsid))
            found = true;
        filter->Release();
    }
    filters->Release();
    return found;
}

} // namespace enginetest
