// Every built plug-in in a live capture graph: the synthetic camera (bound as the engine opens a
// camera) -> plug-in -> Sample Grabber -> Null Renderer at RGB24 320x240. The camera's pattern
// predicts every pixel of every frame, so the effect must show on each frame it touches and a
// disabled plug-in must pass each frame exactly.
#include "plugin_catalogue.h"
#include "plugin_params.h"
#include "plugin_testkit.h"

#include "qeltest/com_test.h"
#include "qeltest/pump.h"

#include "test_camera.h"
#include "test_frame_pattern.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace plugintest {
namespace {

constexpr LONG kWidth = 320;
constexpr LONG kHeight = 240;
constexpr REFERENCE_TIME kFrameTime = 333333;
constexpr size_t kFramesWanted = 5;

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
    ComPtr<IPin> pin;
    FindPin(filter, direction, &pin);
    return pin;
}

// Asks the camera's capture pin for RGB24 at 320x240, 30 frames a second.
HRESULT SetCameraFormat(IBaseFilter* camera) {
    ComPtr<IAMStreamConfig> config;
    ComPtr<IPin> capture = FirstPin(camera, PINDIR_OUTPUT);
    HRESULT hr = capture ? capture.As(&config) : VFW_E_NOT_FOUND;
    if (FAILED(hr))
        return hr;
    VIDEOINFOHEADER info{};
    info.AvgTimePerFrame = kFrameTime;
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(qelcam::Rgb24Stride(kWidth) * kHeight);
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = info.bmiHeader.biSizeImage;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(info);
    type.pbFormat = reinterpret_cast<BYTE*>(&info);
    return config->SetFormat(&type);
}

// The frames a run delivered; build is the first failing step before the graph ran.
struct CameraRun {
    HRESULT build = E_FAIL;
    HRESULT run = E_FAIL;
    bool enoughFrames = false;
    std::vector<CapturedFrame> frames;
};

CameraRun PlayCameraThrough(IBaseFilter* camera, IBaseFilter* plugin, const wchar_t* pluginName) {
    CameraRun result;
    FrameRecorder recorder;
    ComPtr<IGraphBuilder> graph;
    RecordingEnd end;
    HRESULT hr = SetCameraFormat(camera);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
    if (SUCCEEDED(hr))
        hr = MakeRecordingEnd(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, &recorder, &end);
    const ComPtr<IBaseFilter>& grabberFilter = end.grabberFilter;
    const ComPtr<IBaseFilter>& renderer = end.renderer;
    const ComPtr<ISampleGrabber>& grabber = end.grabber;
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(camera, L"Camera");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(plugin, pluginName);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(grabberFilter.Get(), L"SampleGrabber");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(renderer.Get(), L"Null Renderer");
    if (SUCCEEDED(hr))
        hr = Connect(graph.Get(), camera, plugin);
    if (SUCCEEDED(hr))
        hr = Connect(graph.Get(), plugin, grabberFilter.Get());
    if (SUCCEEDED(hr))
        hr = Connect(graph.Get(), grabberFilter.Get(), renderer.Get());
    result.build = hr;

    ComPtr<IMediaControl> control;
    if (SUCCEEDED(hr))
        hr = graph.As(&control);
    if (SUCCEEDED(hr)) {
        hr = control->Run();
        if (hr == S_FALSE) { // a live source's graph may still be on its way to running
            OAFilterState state = State_Stopped;
            hr = control->GetState(5000, &state);
            if (SUCCEEDED(hr) && state != State_Running)
                hr = E_FAIL;
        }
        result.run = hr;
        if (SUCCEEDED(hr))
            result.enoughFrames = qeltest::PumpUntil([&] { return recorder.Count() >= kFramesWanted; }, 10000);
        // The camera first: Wine's capture graph can crash when the camera is stopped after
        // the filters it delivers to.
        camera->Stop();
        control->Stop();
        if (FAILED(result.run)) { // a failed Run leaves the filters paused whatever Stop answers
            plugin->Stop();
            grabberFilter->Stop();
            renderer->Stop();
        }
    }
    if (grabber)
        grabber->SetCallback(nullptr, 0);
    result.frames = recorder.Frames();
    if (graph) {
        graph->RemoveFilter(renderer.Get());
        graph->RemoveFilter(grabberFilter.Get());
        graph->RemoveFilter(plugin);
        graph->RemoveFilter(camera);
    }
    return result;
}

// The camera's frame taken at this time, as the pattern draws it.
std::vector<BYTE> ExpectedCameraFrame(REFERENCE_TIME start) {
    std::vector<BYTE> frame(static_cast<size_t>(qelcam::Rgb24Stride(kWidth) * kHeight));
    qelcam::DrawTestFrame(frame.data(), kWidth, kHeight, qelcam::Rgb24Stride(kWidth),
                          static_cast<uint32_t>(start / kFrameTime));
    return frame;
}

class PluginCameraTest : public qeltest::ComTest, public ::testing::WithParamInterface<QelPluginIdentity> {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<PluginModule>(GetParam().module);
        ASSERT_TRUE(module_->Loaded()) << "cannot load the module, error " << GetLastError();
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, camera_.Result());
    }
    void TearDown() override {
        module_.reset();
        ComTest::TearDown();
    }

    // A new instance of the plug-in with its effect made visible; none when no setting is known.
    ComPtr<IBaseFilter> CreateVisible() {
        const VisibleEffect* effect = FindVisibleEffect(GetParam().module);
        ComPtr<IBaseFilter> filter;
        if (!effect)
            return filter;
        EXPECT_EQ(S_OK, CoCreateInstance(*GetParam().filterClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
        if (filter) {
            EXPECT_EQ(S_OK, effect->apply(filter.Get()));
        }
        return filter;
    }

    // A fresh camera filter for each run: formats belong to the filter instance.
    CameraRun Play(IBaseFilter* plugin) {
        ComPtr<IBaseFilter> camera;
        CameraRun run;
        run.build = camera_.Bind(&camera);
        if (SUCCEEDED(run.build))
            run = PlayCameraThrough(camera.Get(), plugin, GetParam().filterName);
        return run;
    }

    qelcam::ScopedTestCamera camera_{L"Qel Plug-in Test Camera", qelcam::kCaptureOnly};
    std::unique_ptr<PluginModule> module_;
};

void ExpectDelivered(const CameraRun& run) {
    ASSERT_EQ(S_OK, run.build);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_TRUE(run.enoughFrames) << "only " << run.frames.size() << " frames arrived";
    for (size_t i = 0; i < run.frames.size(); ++i) {
        ASSERT_EQ(S_OK, run.frames[i].timeResult) << "frame " << i << " has no time in a graph with a clock";
        ASSERT_EQ(0, run.frames[i].start % kFrameTime) << "frame " << i << " is not at a camera frame time";
        ASSERT_EQ(run.frames[i].bytes.size(), static_cast<size_t>(qelcam::Rgb24Stride(kWidth) * kHeight)) << i;
    }
}

TEST_P(PluginCameraTest, ShowsItsEffectOnEveryCameraFrame) {
    ComPtr<IBaseFilter> plugin = CreateVisible();
    if (!plugin)
        GTEST_SKIP() << "no visible setting is known for this plug-in: add one to kVisibleEffects";
    const CameraRun run = Play(plugin.Get());
    ExpectDelivered(run);
    if (HasFatalFailure())
        return;
    for (size_t i = 0; i < run.frames.size(); ++i)
        EXPECT_NE(run.frames[i].bytes, ExpectedCameraFrame(run.frames[i].start))
            << "the effect does not show on frame " << i;
}

TEST_P(PluginCameraTest, DisabledPassesEveryCameraFrameExactly) {
    ComPtr<IBaseFilter> plugin = CreateVisible();
    if (!plugin)
        GTEST_SKIP() << "no visible setting is known for this plug-in: add one to kVisibleEffects";
    CommonParams params(plugin.Get(), GetParam());
    ASSERT_TRUE(params.Valid());
    ASSERT_EQ(S_OK, params.SetEnable(FALSE));
    const CameraRun run = Play(plugin.Get());
    ExpectDelivered(run);
    if (HasFatalFailure())
        return;
    for (size_t i = 0; i < run.frames.size(); ++i) {
        const CapturedFrame& frame = run.frames[i];
        uint32_t number = 0;
        ASSERT_TRUE(qelcam::ReadFrameNumber(frame.bytes.data(), kWidth, kHeight, qelcam::Rgb24Stride(kWidth), &number))
            << "frame " << i << " carries no frame number";
        EXPECT_EQ(static_cast<REFERENCE_TIME>(number) * kFrameTime, frame.start) << "frame " << i;
        EXPECT_EQ(frame.bytes, ExpectedCameraFrame(frame.start)) << "frame " << i << " changed while disabled";
    }
}

INSTANTIATE_TEST_SUITE_P(Built, PluginCameraTest, ::testing::ValuesIn(BuiltPlugins()), PluginName);

} // namespace
} // namespace plugintest
