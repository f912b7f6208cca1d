#include "program_fixture.h"

#include "screen_probe.h"

namespace programtest {

void ProgramTest::SetUp() {
    qeltest::ComTest::SetUp();
    if (HasFatalFailure())
        return;
    if (!qelcam::CameraModule())
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " cannot be loaded";
    ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
    // The program's COM servers, as its installer registers them.
    for (const wchar_t* module :
         {L"QelFilter_Flip", L"QelFilter_Rotate", L"QelFilter_AutoEnhance", L"QelFilter_AutoTone",
          L"QelFilter_Whiteboard", L"QelFilter_DateTime", L"QelFilter_SpEff", L"QelFilter_DigitalZoom",
          L"QelFilter_LowLight", L"QelFilter_CB", L"QelFilter_PhotoFrame", L"QelReader"}) {
        auto plugin = std::make_unique<plugintest::PluginModule>(module);
        if (!plugin->Loaded())
            GTEST_SKIP() << "a plug-in module of the program is not built";
        ASSERT_EQ(S_OK, plugin->Register());
        plugins_.push_back(std::move(plugin));
    }
    wmfKey = std::make_unique<ScopedWmfKey>(true);
}

void ProgramTest::TearDown() {
    microphone_.reset();
    microphoneSource_.reset();
    camera_.reset();
    wmfKey.reset();
    plugins_.clear();
    qeltest::ComTest::TearDown();
}

void ProgramTest::AddCamera() {
    camera_ = std::make_unique<qelcam::ScopedTestCamera>(kCameraName, cameraVariant);
    ASSERT_EQ(S_OK, camera_->Result());
}

void ProgramTest::AddMicrophone() {
    // Unlisted as a camera: the program, with no camera chosen, opens the first one listed, and that
    // must be the test's camera whichever way the two random CLSIDs sort.
    microphoneSource_ = std::make_unique<qelcam::ScopedTestCamera>(std::wstring(kMicrophoneName) + L" Source",
                                                                   qelcam::kWithPreviewPin | qelcam::kUnlisted);
    ASSERT_EQ(S_OK, microphoneSource_->Result());
    microphone_ = std::make_unique<enginetest::ScopedAudioInput>(microphoneSource_->Clsid(), kMicrophoneName);
    ASSERT_EQ(S_OK, microphone_->Result());
}

std::unique_ptr<ZentrikRun> ProgramTest::StartQuietly(const char* sizeMode) {
    return StartPrepared([sizeMode](ZentrikRun& run) {
        if (sizeMode)
            run.SetIniValue("Basic", "dialogsize", sizeMode);
    });
}

std::unique_ptr<ZentrikRun> ProgramTest::StartPrepared(const std::function<void(ZentrikRun&)>& prepare) {
    AddCamera();
    AddMicrophone();
    auto run = std::make_unique<ZentrikRun>();
    prepare(*run);
    EXPECT_TRUE(run->Start());
    EXPECT_TRUE(run->WaitForMainWindow(30000)) << "no main window";
    return run;
}

RECT ProgramTest::PreviewOnScreen(const ZentrikRun& run, int mode) const {
    RECT area = SkinRect(run.SkinIni(), "PreviewArea", mode);
    ::MapWindowPoints(run.Dialog(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

bool ReadPreviewFrameNumber(const RECT& area, uint32_t* frame) {
    const RECT picture = {area.left, area.top, area.left + 320, area.top + 240};
    return ReadFrameNumberOnScreen(area, frame) || ReadFrameNumberOnScreen(picture, frame);
}

bool WaitForFrameNumber(ZentrikRun& run, const RECT& area, uint32_t* frame, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        if (ReadPreviewFrameNumber(area, frame))
            return true;
        run.Pump(100);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
    return false;
}

} // namespace programtest
