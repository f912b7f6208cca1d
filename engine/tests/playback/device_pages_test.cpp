// The device property frames' result codes, and the camera and stream-format frames over a previewing
// camera (closed from a second thread: the frames are modal).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <Vostrel.h>

#include "camera_fixture.h"
#include "frame_closer.h"
#include "plugin_testkit.h"
#include "qeldshow/com_ptr.h"
#include "qeltest/pump.h"

namespace enginetest {
namespace {

using qel::ComPtr;

constexpr DWORD kCameraWithPages = qelcam::kWithPreviewPin | qelcam::kWithPropertyPages;

class DevicePagesTest : public CameraTest {
protected:
    FILTER_STATE GraphState() {
        ComPtr<IMediaControl> control;
        OAFilterState state = -1;
        if (engine->m_pGraph && SUCCEEDED(engine->m_pGraph->QueryInterface(IID_PPV_ARGS(&control))))
            control->GetState(0, &state);
        return static_cast<FILTER_STATE>(state);
    }

    // The stream configuration of the camera's capture pin.
    ComPtr<IAMStreamConfig> CaptureConfig() {
        ComPtr<IAMStreamConfig> config;
        ComPtr<IEnumPins> pins;
        if (!engine->m_pVideoCapFilter || FAILED(engine->m_pVideoCapFilter->EnumPins(&pins)))
            return config;
        ComPtr<IPin> pin;
        while (!config && pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            PIN_INFO info = {};
            if (FAILED(pin->QueryPinInfo(&info)))
                continue;
            const ComPtr<IBaseFilter> owner = qel::TakeOver(info.pFilter);
            if (std::wstring(info.achName) == L"Capture")
                pin.As(&config);
        }
        return config;
    }

    // A recording splices the flip and rotate plug-ins: registered here rather than taken from
    // whatever the tests before left registered in the prefix.
    void RegisterRecordPlugins() {
        for (const wchar_t* module : {L"QelFilter_Flip", L"QelFilter_Rotate"}) {
            auto plugin = std::make_unique<plugintest::PluginModule>(module);
            if (!plugin->Loaded())
                GTEST_SKIP() << "the plug-in module " << std::string(module, module + wcslen(module)) << " is not built";
            ASSERT_EQ(S_OK, plugin->Register());
            plugins_.push_back(std::move(plugin));
        }
    }

private:
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins_;
};

TEST_F(DevicePagesTest, UnknownTypesAndMissingFiltersGiveTheirCodes) {
    CLiveCapture engine;
    EXPECT_EQ(E_INVALIDARG, engine.CallOLESettingDlg(static_cast<LiveCapOLEDlgType>(4), nullptr));
    EXPECT_EQ(1, engine.CallOLESettingDlg(OLEDLG_VIDEO_COMPRESSOR, nullptr)) << "no compressor";
    EXPECT_EQ(1, engine.CallOLESettingDlg(OLEDLG_AUDIO_FILTER, L"ignored")) << "no audio capture filter";
    EXPECT_EQ(E_NOINTERFACE, engine.ShowFilterPropertyPage(nullptr, nullptr));
    EXPECT_EQ(0, engine.ShowVideoOLEFilterSettingDlg(nullptr)) << "no camera, no pages";
}

TEST_F(DevicePagesTest, TheStreamFrameWithoutPagesStillRebuildsThePreview) {
    AddCamera(L"Pages Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Pages Camera");
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    // The synthetic capture pin offers no pages: nothing is shown, and the preview comes back.
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_STREAM, nullptr));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(engine->m_bPreviewBuilt);
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_FILTER, L"Camera")) << "the camera filter offers none";
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(DevicePagesTest, CameraPagesThatCannotBeListedAreReportedAndThePreviewGoesOn) {
    AddCamera(L"Failing Pages Camera", qelcam::kWithPreviewPin | qelcam::kWithFailingPages);
    PreviewCamera(L"Failing Pages Camera");
    ASSERT_EQ(State_Running, GraphState());
    // The camera's own failure reaches the caller, who says so; nothing is shown.
    EXPECT_EQ(E_FAIL, engine->CallOLESettingDlg(OLEDLG_VIDEO_FILTER, L"Failing Frame Title"));
    EXPECT_EQ(0, engine->ShowVideoOLEFilterSettingDlg(nullptr));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(State_Running, GraphState());
}

TEST_F(DevicePagesTest, TheCameraFrameRunsOverTheRunningPreviewThenRestoresItsState) {
    AddCamera(L"Framed Camera", kCameraWithPages);
    PreviewCamera(L"Framed Camera");
    ASSERT_EQ(State_Running, GraphState());
    FILTER_INFO camera = {};
    ASSERT_EQ(S_OK, engine->m_pVideoCapFilter->QueryFilterInfo(&camera));
    const ComPtr<IFilterGraph> cameraGraph = qel::TakeOver(camera.pGraph);
    LiveState stateWhileOpen = LIVE_CLEAN;
    FILTER_STATE graphWhileOpen = State_Stopped;
    FrameCloser closer(L"Camera Frame Title", [&](HWND) {
        stateWhileOpen = engine->m_state;
        graphWhileOpen = GraphState();
    });
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_FILTER, L"Camera Frame Title"));
    ASSERT_TRUE(closer.Join()) << "no frame captioned with the title was shown";
    EXPECT_EQ(LIVE_PROPERTYDLG, stateWhileOpen);
    EXPECT_EQ(State_Running, graphWhileOpen) << "the preview goes on behind the frame";
    EXPECT_NE(std::wstring::npos, closer.PageTexts().find(std::wstring(camera.achName) + L"\n"))
        << "the camera's own page, on the filter: " << testing::PrintToString(closer.PageTexts());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(State_Running, GraphState());
}

TEST_F(DevicePagesTest, ThePinFrameAppliesAFormatSetWhileItWasOpenThenPreviews) {
    AddCamera(L"Format Camera", kCameraWithPages);
    PreviewCamera(L"Format Camera");
    const ComPtr<IAMStreamConfig> config = CaptureConfig();
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    // The format the user picks in the frame: a size and rate the preview did not start with.
    AM_MEDIA_TYPE* chosen = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    for (int i = 0; i < count && !chosen; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        ASSERT_EQ(S_OK, config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)));
        const VIDEOINFOHEADER* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        if (info->bmiHeader.biWidth == 320 && info->AvgTimePerFrame == 333333)
            chosen = type;
        else
            CLiveCapture::WixDeleteMediaType(type);
    }
    ASSERT_NE(nullptr, chosen) << "the camera offers 320 x 240 at 30 fps";
    ASSERT_NE(30, engine->m_nFrameRate) << "the preview must start at another rate for the check to tell";

    LiveState stateWhileOpen = LIVE_CLEAN;
    HRESULT setWhileOpen = E_FAIL;
    FrameCloser closer(L"Format Frame Title", [&](HWND) {
        stateWhileOpen = engine->m_state;
        setWhileOpen = config->SetFormat(chosen);
    });
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_STREAM, L"Format Frame Title"));
    ASSERT_TRUE(closer.Join()) << "no frame captioned with the title was shown";
    CLiveCapture::WixDeleteMediaType(chosen);
    EXPECT_EQ(LIVE_PROPERTYDLG, stateWhileOpen);
    ASSERT_EQ(S_OK, setWhileOpen);
    EXPECT_NE(std::wstring::npos, closer.PageTexts().find(L" x "))
        << "the camera's page, on the pin's format: " << testing::PrintToString(closer.PageTexts());

    EXPECT_EQ(30, engine->m_nFrameRate) << "the rate of the format set in the frame";
    AM_MEDIA_TYPE* applied = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&applied));
    const VIDEOINFOHEADER* info = reinterpret_cast<const VIDEOINFOHEADER*>(applied->pbFormat);
    EXPECT_EQ(320, info->bmiHeader.biWidth);
    EXPECT_EQ(240, info->bmiHeader.biHeight);
    CLiveCapture::WixDeleteMediaType(applied);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(engine->m_bPreviewBuilt);
    EXPECT_EQ(State_Running, GraphState());
}

TEST_F(DevicePagesTest, APinFormatWithoutAFrameTimeKeepsTheFrameRate) {
    AddCamera(L"Rateless Camera", kCameraWithPages | qelcam::kFormatWithoutFrameTime);
    PreviewCamera(L"Rateless Camera");
    const int rate = engine->m_nFrameRate;
    ASSERT_GT(rate, 0);
    FrameCloser closer(L"Rateless Frame Title", [](HWND) {});
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_STREAM, L"Rateless Frame Title"));
    ASSERT_TRUE(closer.Join()) << "no frame captioned with the title was shown";
    EXPECT_EQ(rate, engine->m_nFrameRate);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(DevicePagesTest, ThePinFrameStopsARunningCaptureFirstAndKeepsItsFile) {
    RegisterRecordPlugins();
    if (IsSkipped() || HasFatalFailure())
        return;
    AddCamera(L"Recording Camera", kCameraWithPages);
    PreviewCamera(L"Recording Camera");
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
    const std::wstring file = std::wstring(folder) + L"pages_capture.avi";
    DeleteFileW(file.c_str());
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    ASSERT_TRUE(engine->SetRecordFileType(RECORD_AVI_NOAUDIO));
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_EQ(LIVE_CAPTURING, engine->GetClassState());
    // A recording that got no frame is removed on stop: this one must hold some to be kept.
    ASSERT_TRUE(qeltest::PumpUntil(
        [&] {
            _CapturedVideoInfo info = {};
            return engine->GetCapturedVideoInfo(&info) && info.nFramesCaptured > 0;
        },
        10000));

    LiveState stateWhileOpen = LIVE_CLEAN;
    FrameCloser closer(L"Recording Frame Title", [&](HWND) { stateWhileOpen = engine->m_state; });
    EXPECT_EQ(0, engine->CallOLESettingDlg(OLEDLG_VIDEO_STREAM, L"Recording Frame Title"));
    ASSERT_TRUE(closer.Join()) << "no frame captioned with the title was shown";
    EXPECT_EQ(LIVE_PROPERTYDLG, stateWhileOpen) << "the capture ended before the frame opened";
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) << "the recording was kept";
    EXPECT_TRUE(data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
    DeleteFileW(file.c_str());
}

} // namespace
} // namespace enginetest
