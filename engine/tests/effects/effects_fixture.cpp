#include "effects_fixture.h"

#include "../filter_name.h"
#include "QelPluginIds.h"

namespace enginetest {
namespace {

int InputPinCount(IBaseFilter* filter) {
    int count = 0;
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return 0;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT)
            ++count;
        pin->Release();
    }
    pins->Release();
    return count;
}

} // namespace

std::vector<CLSID> EnginePluginClasses() {
    return {CLSID_QelFilter_AutoEnhance, CLSID_QelFilter_AutoTone,   CLSID_QelFilter_Whiteboard,
            CLSID_QelFilter_LowLight,    CLSID_QelFilter_ContrastBrightness, CLSID_QelFilter_DigitalZoom,
            CLSID_QelFilter_PhotoFrame,  CLSID_QelFilter_DateTime,   CLSID_QelFilter_SpecialEffect,
            CLSID_QelFilter_Flip,        CLSID_QelFilter_Rotate};
}

void EffectsTest::SetUp() {
    qeltest::ComTest::SetUp();
    if (!qelcam::CameraModule())
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " cannot be loaded";
    ASSERT_TRUE(standins.Loaded()) << "the stand-in plug-in " << standin::kModuleFile << " cannot be loaded";
    ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
    for (const CLSID& clsid : EnginePluginClasses())
        ASSERT_EQ(S_OK, standins.Register(clsid));
    standins.ClearLog();
    engine = new EffectsProbe;
}

void EffectsTest::TearDown() {
    delete engine;
    engine = nullptr;
    cameras_.clear();
    qeltest::ComTest::TearDown();
}

qelcam::ScopedTestCamera* EffectsTest::AddCamera(const std::wstring& name, DWORD variant) {
    cameras_.push_back(std::make_unique<qelcam::ScopedTestCamera>(name, variant));
    EXPECT_EQ(S_OK, cameras_.back()->Result()) << "registering the camera";
    return cameras_.back().get();
}

void EffectsTest::Preview(const std::wstring& cameraName, DWORD variant) {
    AddCamera(cameraName, variant);
    ASSERT_EQ(0, engine->InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
    UINT index = 99;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, cameraName.c_str(), &index));
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

std::vector<std::wstring> EffectsTest::ChainInFrontOf(const wchar_t* downstreamName) const {
    std::vector<std::wstring> chain;
    IBaseFilter* filter = nullptr;
    if (!engine->m_pGraph || FAILED(engine->m_pGraph->FindFilterByName(downstreamName, &filter)))
        return chain;
    for (int guard = 0; guard < 32; ++guard) {
        IPin* input = engine->GetInPin(filter, 0);
        IPin* peer = nullptr;
        if (input)
            input->ConnectedTo(&peer);
        if (input)
            input->Release();
        filter->Release();
        filter = nullptr;
        if (!peer)
            break;
        PIN_INFO info = {};
        peer->QueryPinInfo(&info);
        peer->Release();
        if (!info.pFilter)
            break;
        filter = info.pFilter;
        if (InputPinCount(filter) != 1 || NameOf(filter).find(L"Tee") != std::wstring::npos)
            break;
        chain.insert(chain.begin(), NameOf(filter));
    }
    if (filter)
        filter->Release();
    return chain;
}

size_t EffectsTest::FilterCount() const {
    size_t count = 0;
    IEnumFilters* filters = nullptr;
    if (!engine->m_pGraph || FAILED(engine->m_pGraph->EnumFilters(&filters)))
        return 0;
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        ++count;
        filter->Release();
    }
    filters->Release();
    return count;
}

std::vector<std::wstring> EffectsTest::FilterNames() const {
    std::vector<std::wstring> names;
    IEnumFilters* filters = nullptr;
    if (!engine->m_pGraph || FAILED(engine->m_pGraph->EnumFilters(&filters)))
        return names;
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        names.push_back(NameOf(filter));
        filter->Release();
    }
    filters->Release();
    return names;
}

bool EffectsTest::Running() const {
    IMediaControl* control = nullptr;
    if (!engine->m_pGraph || FAILED(engine->m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control))))
        return false;
    OAFilterState state = State_Stopped;
    control->GetState(1000, &state);
    control->Release();
    return state == State_Running;
}

} // namespace enginetest
