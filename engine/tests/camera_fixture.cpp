#include "camera_fixture.h"

namespace enginetest {
namespace {
// An export of the camera module as the function type it has.
template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

void CameraTest::SetUp() {
    qeltest::ComTest::SetUp();
    module_ = LoadLibraryA(qelcam::kCameraModuleFile);
    if (!module_)
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " is not built";
    // Cameras that an earlier, interrupted run left registered would change every count.
    auto unregisterAll = Export<qelcam::UnregisterAllCamerasFunc>(module_, qelcam::kUnregisterAllCamerasExport);
    ASSERT_NE(nullptr, unregisterAll);
    unregisterAll();
    engine = new EngineProbe;
}

void CameraTest::TearDown() {
    delete engine;   // every camera instance goes with the engine object
    engine = nullptr;
    if (module_) {
        auto unregister = Export<qelcam::UnregisterCameraFunc>(module_, qelcam::kUnregisterCameraExport);
        for (const CLSID& clsid : cameras_)
            if (unregister)
                unregister(&clsid);
    }
    qeltest::ComTest::TearDown();
    // The module stays loaded: COM may still hold its class objects until the process ends.
}

CLSID CameraTest::AddCamera(const std::wstring& name, DWORD variant) {
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(S_OK, CoCreateGuid(&clsid));
    auto registerCamera = Export<qelcam::RegisterCameraFunc>(module_, qelcam::kRegisterCameraExport);
    EXPECT_NE(nullptr, registerCamera);
    if (registerCamera) {
        EXPECT_EQ(S_OK, registerCamera(&clsid, name.c_str(), variant));
        cameras_.push_back(clsid);
    }
    return clsid;
}

LONG CameraTest::LiveCameras(const CLSID& clsid) const {
    auto count = Export<qelcam::CameraCountFunc>(module_, qelcam::kLiveCamerasExport);
    return count ? count(&clsid) : -1;
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
