// The checks every effect plug-in gets: registration, creation by class ID, pins and media types,
// frames and their time stamps through a real graph, pass-through when disabled, and time-range
// gating. A new plug-in joins by being built (and, for the effect checks, by one line in
// kVisibleEffects (plugin_catalogue.cpp) saying how to make its effect show).
#include "plugin_catalogue.h"
#include "plugin_params.h"
#include "plugin_testkit.h"

#include "qeltest/com_test.h"

#include "qeldshow/media_type.h"
#include "qeldshow/server_registration.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace plugintest {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring RegistryString(const std::wstring& key, const wchar_t* value) {
    wchar_t data[MAX_PATH * 2] = {};
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"";
    return data;
}

// The friendly name under which the filter mapper lists clsid among the DirectShow filters.
std::wstring ListedFilterName(REFCLSID clsid) {
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory, &monikers, 0) != S_OK)
        return L"";
    const std::wstring wanted = Lower(GuidToString(clsid));
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) {
            VARIANT id, name;
            VariantInit(&id);
            VariantInit(&name);
            std::wstring found;
            if (SUCCEEDED(bag->Read(L"CLSID", &id, nullptr)) && id.vt == VT_BSTR && Lower(id.bstrVal) == wanted &&
                SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
                found = name.bstrVal;
            VariantClear(&id);
            VariantClear(&name);
            if (!found.empty())
                return found;
        }
        moniker.Reset();
    }
    return L"";
}

class PluginTest : public qeltest::ComTest, public ::testing::WithParamInterface<QelPluginIdentity> {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<PluginModule>(Plugin().module);
        ASSERT_TRUE(module_->Loaded()) << "cannot load the module, error " << GetLastError();
        ASSERT_EQ(S_OK, module_->Register());
    }
    void TearDown() override {
        module_.reset();
        ComTest::TearDown();
    }

    const QelPluginIdentity& Plugin() const { return GetParam(); }

    ComPtr<IBaseFilter> Create() {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, CoCreateInstance(*Plugin().filterClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
        return filter;
    }

    // A new instance whose effect shows on the test frames; none (skip) when the test does not
    // know how to make this plug-in's effect show.
    ComPtr<IBaseFilter> CreateVisible() {
        const VisibleEffect* effect = FindVisibleEffect(Plugin().module);
        if (!effect)
            return nullptr;
        ComPtr<IBaseFilter> filter = Create();
        if (filter) {
            EXPECT_EQ(S_OK, effect->apply(filter.Get()));
        }
        return filter;
    }

    GraphResult Play(IBaseFilter* filter, const TestVideo& video = TestVideo()) {
        return PlayThrough(filter, Plugin().filterName, video);
    }

    std::unique_ptr<PluginModule> module_;
};

bool RanToTheEnd(const GraphResult& run, const TestVideo& video) {
    return run.connect == S_OK && run.run == S_OK && run.frames.size() == static_cast<size_t>(video.frames);
}

#define SKIP_WITHOUT_VISIBLE_EFFECT(filter)                                                                  \
    if (!(filter))                                                                                           \
    GTEST_SKIP() << "no visible setting is known for this plug-in: add one to kVisibleEffects"

TEST_P(PluginTest, RegistersItsServerItsPageAndItsFilter) {
    const std::wstring key = L"CLSID\\" + GuidToString(*Plugin().filterClsid);
    EXPECT_EQ(RegistryString(key, nullptr), Plugin().filterName);
    EXPECT_EQ(Lower(RegistryString(key + L"\\InprocServer32", nullptr)), Lower(module_->Path()));
    if (Plugin().pageClsid) {
        const std::wstring pageKey = L"CLSID\\" + GuidToString(*Plugin().pageClsid);
        EXPECT_EQ(RegistryString(pageKey, nullptr), Plugin().pageName);
        EXPECT_EQ(Lower(RegistryString(pageKey + L"\\InprocServer32", nullptr)), Lower(module_->Path()));
    }
    EXPECT_EQ(ListedFilterName(*Plugin().filterClsid), Plugin().filterName);
}

TEST_P(PluginTest, IsCreatedByClassIdWithItsInterfacesAndTwoPins) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);

    ComPtr<IUnknown> params, persist, commonParams;
    EXPECT_EQ(S_OK, filter->QueryInterface(Plugin().rotateParams ? IID_IQelRotateParams : IID_IQelFilterParams,
                                           reinterpret_cast<void**>(params.GetAddressOf())));
    EXPECT_EQ(E_NOINTERFACE, filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.GetAddressOf())));
    if (Plugin().rotateParams) {
        EXPECT_EQ(E_NOINTERFACE, filter->QueryInterface(IID_IQelFilterParams,
                                                        reinterpret_cast<void**>(commonParams.GetAddressOf())));
    }

    ComPtr<ISpecifyPropertyPages> specify;
    ASSERT_EQ(S_OK, filter.As(&specify));
    CAUUID pages{};
    ASSERT_EQ(S_OK, specify->GetPages(&pages));
    if (Plugin().pageClsid) {
        ASSERT_EQ(pages.cElems, 1u);
        EXPECT_EQ(pages.pElems[0], *Plugin().pageClsid);
    } else {
        EXPECT_EQ(pages.cElems, 0u);
    }
    CoTaskMemFree(pages.pElems);

    ComPtr<IPin> input, output;
    ASSERT_EQ(S_OK, filter->FindPin(L"Input", &input));
    ASSERT_EQ(S_OK, filter->FindPin(L"Output", &output));
    PIN_DIRECTION direction;
    EXPECT_EQ(S_OK, input->QueryDirection(&direction));
    EXPECT_EQ(direction, PINDIR_INPUT);
    EXPECT_EQ(S_OK, output->QueryDirection(&direction));
    EXPECT_EQ(direction, PINDIR_OUTPUT);

    int enabled = -1;
    CommonParams common(filter.Get(), Plugin());
    ASSERT_TRUE(common.Valid());
    EXPECT_EQ(S_OK, common.GetEnable(&enabled));
    EXPECT_EQ(enabled, 1) << "a new filter is enabled";
}

TEST_P(PluginTest, RefusesAnythingButRgb24Video) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    ComPtr<IPin> input;
    ASSERT_EQ(S_OK, filter->FindPin(L"Input", &input));

    TestVideo rgb32;
    rgb32.rgb32 = true;
    rgb32.frames = 3;
    const GraphResult run = Play(filter.Get(), rgb32);
    EXPECT_TRUE(FAILED(run.connect)) << "connected RGB32: 0x" << std::hex << run.connect;
    EXPECT_TRUE(run.frames.empty());

    CMediaType rgb24 = MakeRgb24VideoType(64, 48, 1000000);
    ASSERT_TRUE(rgb24.IsValid());
    EXPECT_EQ(S_OK, input->QueryAccept(&rgb24));
    CMediaType truncated = rgb24;
    truncated.cbFormat = sizeof(VIDEOINFOHEADER) - 8; // the header cut short
    EXPECT_NE(S_OK, input->QueryAccept(&truncated));
    CMediaType otherFormat = rgb24;
    otherFormat.formattype = FORMAT_VideoInfo2;
    EXPECT_NE(S_OK, input->QueryAccept(&otherFormat));
    CMediaType padding = rgb24;
    reinterpret_cast<VIDEOINFOHEADER*>(padding.pbFormat)->bmiHeader.biBitCount = 32;
    EXPECT_NE(S_OK, input->QueryAccept(&padding));
}

TEST_P(PluginTest, PassesAHundredTimedFramesWithTheirTimeStamps) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    const TestVideo video;
    const GraphResult run = Play(filter.Get(), video);
    ASSERT_EQ(S_OK, run.connect);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_EQ(run.frames.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const CapturedFrame& frame = run.frames[i];
        EXPECT_EQ(frame.timeResult, S_OK) << i;
        EXPECT_EQ(frame.start, i * video.frameTime) << i;
        EXPECT_EQ(frame.stop, (i + 1) * video.frameTime) << i;
        EXPECT_EQ(frame.bytes.size(), FrameBytesOf(video)) << i;
    }
}

TEST_P(PluginTest, DisabledPassesEveryFrameThroughUnchanged) {
    ComPtr<IBaseFilter> shown = CreateVisible();
    SKIP_WITHOUT_VISIBLE_EFFECT(shown);
    ComPtr<IBaseFilter> hidden = CreateVisible();
    ASSERT_TRUE(hidden);
    CommonParams params(hidden.Get(), Plugin());
    ASSERT_EQ(S_OK, params.AddRange(-1, -1)); // ranges that would match change nothing
    ASSERT_EQ(S_OK, params.SetEnable(FALSE));

    TestVideo video;
    video.frames = 10;
    const GraphResult on = Play(shown.Get(), video);
    const GraphResult off = Play(hidden.Get(), video);
    ASSERT_EQ(on.frames.size(), 10u);
    ASSERT_EQ(off.frames.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(on.frames[i].bytes, TestFrame(video, i)) << "the effect does not show on frame " << i;
        EXPECT_EQ(off.frames[i].bytes, TestFrame(video, i)) << "frame " << i << " changed while disabled";
    }

    ASSERT_EQ(S_OK, params.Enable(TRUE)); // Enable is the same switch as SetEnable
    const GraphResult again = Play(hidden.Get(), video);
    ASSERT_EQ(again.frames.size(), 10u);
    // The effect shows again; not compared byte for byte with the first run, since the date-time
    // plug-in draws the clock, which may have moved on in between.
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(again.frames[i].bytes, TestFrame(video, i)) << "the effect does not show again on frame " << i;
}

TEST_P(PluginTest, TimeRangesGateTheEffectWithInclusiveEnds) {
    ComPtr<IBaseFilter> filter = CreateVisible();
    SKIP_WITHOUT_VISIBLE_EFFECT(filter);
    CommonParams params(filter.Get(), Plugin());
    ASSERT_EQ(S_OK, params.AddRange(3.0, 2.0)); // given backwards: 2 s to 3 s
    ASSERT_EQ(S_OK, params.AddRange(5.0, -1));  // 5 s to the end
    const double starts[] = {0.72, 0.5};
    const double ends[] = {0.78, 0.55};
    ASSERT_EQ(S_OK, params.AddRanges(starts, ends, 2)); // holds no frame start: a gap of its own

    const TestVideo video; // frame i starts at i x 0.1 s
    const GraphResult run = Play(filter.Get(), video);
    ASSERT_EQ(run.frames.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const bool inside = (i >= 20 && i <= 30) || i >= 50 || i == 5;
        if (inside)
            EXPECT_NE(run.frames[i].bytes, TestFrame(video, i)) << "frame " << i << " should carry the effect";
        else
            EXPECT_EQ(run.frames[i].bytes, TestFrame(video, i)) << "frame " << i << " should pass unchanged";
    }

    ASSERT_EQ(S_OK, params.ClearRanges());
    TestVideo shortVideo;
    shortVideo.frames = 12;
    const GraphResult cleared = Play(filter.Get(), shortVideo);
    ASSERT_EQ(cleared.frames.size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_NE(cleared.frames[i].bytes, TestFrame(shortVideo, i)) << "frame " << i << " after ClearRanges";
}

TEST_P(PluginTest, RangeSidesThatAreNoTimeAreRefused) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    CommonParams params(filter.Get(), Plugin());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(E_INVALIDARG, params.AddRange(nan, 1.0));
    const double starts[] = {1.0, nan};
    const double ends[] = {2.0, 3.0};
    EXPECT_EQ(E_INVALIDARG, params.AddRanges(starts, ends, 2));
    EXPECT_EQ(E_POINTER, params.AddRanges(nullptr, ends, 1));
    EXPECT_EQ(S_OK, params.AddRanges(nullptr, nullptr, 0));
    EXPECT_EQ(S_OK, params.AddRange(1e300, -1e300)); // clamped, not overflowed
}

TEST_P(PluginTest, LeavesNoObjectAliveOnceEveryReferenceIsReleased) {
    {
        ComPtr<IBaseFilter> filter = Create();
        ASSERT_TRUE(filter);
        CommonParams params(filter.Get(), Plugin());
        ComPtr<ISpecifyPropertyPages> pages;
        ASSERT_EQ(S_OK, filter.As(&pages));
        TestVideo video;
        video.frames = 5;
        ASSERT_TRUE(RanToTheEnd(Play(filter.Get(), video), video));
        EXPECT_EQ(S_FALSE, module_->CanUnloadNow()) << "the filter is still referenced";
    }
    EXPECT_EQ(S_OK, module_->CanUnloadNow());
}

INSTANTIATE_TEST_SUITE_P(Built, PluginTest, ::testing::ValuesIn(BuiltPlugins()), PluginName);

} // namespace
} // namespace plugintest
