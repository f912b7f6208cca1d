#include "record_fixture.h"

#include "../filter_name.h"
#include "QelPluginIds.h"
#include "qeltest/pump.h"
#include "riff_reader.h"
#include "test_camera_exports.h"
#include "test_frame_pattern.h"

#include <algorithm>
#include <cstdlib>

namespace recordtest {

void RecordTest::SetUp() {
    CameraTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    for (const wchar_t* module : {L"QelFilter_Flip", L"QelFilter_Rotate", L"QelFilter_AutoEnhance", L"QelFilter_AutoTone",
                                  L"QelFilter_Whiteboard"}) {
        auto plugin = std::make_unique<plugintest::PluginModule>(module);
        if (!plugin->Loaded())
            GTEST_SKIP() << "the plug-in module " << std::string(module, module + wcslen(module)) << " is not built";
        ASSERT_EQ(S_OK, plugin->Register());
        plugins_.push_back(std::move(plugin));
    }
    boxes = std::make_unique<qeltest::ScopedMessageBoxHook>();
    delete engine;
    engine = new RecordProbe;
    AddCamera(kCamera, qelcam::kWithPreviewPin);
    PreviewCamera(kCamera);
}

void RecordTest::TearDown() {
    CameraTest::TearDown();
    boxes.reset();
    plugins_.clear();
}

std::wstring RecordTest::FileIn(const std::string& name) const {
    const std::string path = folder.File(name);
    return std::wstring(path.begin(), path.end());
}

namespace {

using enginetest::NameOf;

bool IsVideo(IPin* pin) {
    AM_MEDIA_TYPE type = {};
    if (FAILED(pin->ConnectionMediaType(&type)))
        return false;
    const bool video = type.majortype == MEDIATYPE_Video;
    CoTaskMemFree(type.pbFormat);
    if (type.pUnk)
        type.pUnk->Release();
    return video;
}

// The filter upstream of the first connected input pin of `filter` that carries video.
IBaseFilter* UpstreamOf(IBaseFilter* filter) {
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    IBaseFilter* upstream = nullptr;
    IPin* pin = nullptr;
    while (!upstream && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION direction;
        IPin* peer = nullptr;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
            SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
            if (IsVideo(pin)) {
                PIN_INFO info = {};
                if (SUCCEEDED(peer->QueryPinInfo(&info)))
                    upstream = info.pFilter;
            }
            peer->Release();
        }
        pin->Release();
    }
    pins->Release();
    return upstream;
}

} // namespace

std::vector<std::wstring> RecordTest::ChainInFrontOfMux() const {
    std::vector<std::wstring> chain;
    IBaseFilter* mux = Engine()->m_pMux;
    if (!mux)
        return chain;
    mux->AddRef();
    IBaseFilter* at = mux;
    for (int steps = 0; steps < 32; ++steps) {
        IBaseFilter* up = UpstreamOf(at);
        at->Release();
        at = up;
        if (!at || at == Engine()->m_pVideoCapFilter)
            break;
        chain.push_back(NameOf(at));
    }
    if (at)
        at->Release();
    std::reverse(chain.begin(), chain.end());
    return chain;
}

std::vector<std::string> RecordTest::UnexpectedBoxes() const {
    std::vector<std::string> unexpected;
    for (const std::string& text : boxes->Texts())
        if (text != "Failed to create DigitalZoom Filter")
            unexpected.push_back(text);
    return unexpected;
}

bool RecordTest::WaitForFrames(int frames) const {
    return qeltest::PumpUntil(
        [&] {
            _CapturedVideoInfo seen = {};
            return engine->GetCapturedVideoInfo(&seen) && seen.nFramesCaptured >= frames;
        },
        10000);
}

void RecordTest::UseStandInMicrophone(const std::wstring& name,
                                      std::unique_ptr<enginetest::ScopedAudioInput>* microphone) {
    const CLSID clsid = AddCamera(name + L" Source", qelcam::kWithPreviewPin);
    *microphone = std::make_unique<enginetest::ScopedAudioInput>(clsid, name);
    ASSERT_EQ(S_OK, (*microphone)->Result());
    ASSERT_EQ(S_OK, engine->EnumAudioDevice());
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_AUDIO, name.c_str(), &index));
}

int RecordTest::FramesOfLastCapture() const {
    _CapturedVideoInfo info = {};
    EXPECT_TRUE(engine->GetCapturedVideoInfo(&info));
    return info.nFramesCaptured;
}

void RecordTest::ExpectWholeRecording(const std::wstring& file, int delivered, bool readNumbers) const {
    std::vector<std::uint8_t> bytes;
    const rifftest::AviSummary avi = rifftest::ReadAviFile(file, &bytes);
    ASSERT_TRUE(avi.riffAvi);
    EXPECT_TRUE(avi.complete);
    EXPECT_TRUE(avi.hasIndex);
    EXPECT_EQ(static_cast<std::uint32_t>(delivered), avi.storedFrames);
    EXPECT_EQ(avi.videoStreamLength, avi.indexedFrames);
    EXPECT_EQ(avi.storedFrames + avi.indexedEmptyFrames, avi.indexedFrames);
    if (!readNumbers)
        return;
    const size_t stride = static_cast<size_t>(qelcam::Rgb24Stride(avi.width));
    std::uint32_t skipped = 0, previous = 0;
    for (size_t i = 0; i < avi.frameOffsets.size(); ++i) {
        std::uint32_t number = 0;
        ASSERT_LE(avi.frameOffsets[i] + stride * static_cast<size_t>(std::abs(avi.height)), bytes.size());
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[i]], avi.width, avi.height,
                                            static_cast<ptrdiff_t>(stride), &number))
            << "stored frame " << i;
        if (i > 0) {
            ASSERT_GT(number, previous) << "stored frame " << i;
            skipped += number - previous - 1;
        }
        previous = number;
    }
    EXPECT_EQ(skipped, avi.indexedEmptyFrames);
}

bool RecordTest::HostHeard(UINT message) const {
    return TimesHostHeard(message) > 0;
}

int RecordTest::TimesHostHeard(UINT message) const {
    int times = 0;
    for (const auto& received : host.Notifications())
        times += received.message == message;
    return times;
}

HRESULT RecordTest::RaiseCameraEvent(long code, LONG_PTR param) {
    auto raise = reinterpret_cast<qelcam::RaiseCameraEventFunc>(
        reinterpret_cast<void*>(GetProcAddress(qelcam::CameraModule(), qelcam::kRaiseCameraEventExport)));
    return raise ? raise(nullptr, code, param) : E_NOINTERFACE;
}

HRESULT RecordTest::SetCamerasDelivering(bool on) {
    auto set = reinterpret_cast<qelcam::SetCameraFlagFunc>(
        reinterpret_cast<void*>(GetProcAddress(qelcam::CameraModule(), qelcam::kSetDeliveringExport)));
    return set ? set(nullptr, on ? TRUE : FALSE) : E_NOINTERFACE;
}

} // namespace recordtest
