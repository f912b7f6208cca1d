#include "controller_fixture.h"

namespace apptest {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += static_cast<char>(c);
    return narrow;
}

void ControllerTest::SetUp() {
    qeltest::ComTest::SetUp();
    if (HasFatalFailure())
        return;
    if (!qelcam::CameraModule())
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " cannot be loaded";
    // Cameras an interrupted run left registered would change every list.
    ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
    for (const wchar_t* module : {L"QelFilter_Flip", L"QelFilter_Rotate", L"QelFilter_AutoEnhance",
                                  L"QelFilter_AutoTone", L"QelFilter_Whiteboard", L"QelFilter_DateTime",
                                  L"QelFilter_SpEff"}) {
        auto plugin = std::make_unique<plugintest::PluginModule>(module);
        if (!plugin->Loaded())
            GTEST_SKIP() << "the plug-in module " << Narrow(module) << " is not built";
        ASSERT_EQ(S_OK, plugin->Register());
        plugins_.push_back(std::move(plugin));
    }
    // The digital zoom plug-in of the preview may be missing here: its creation message is answered.
    boxes = std::make_unique<qeltest::ScopedMessageBoxHook>();
    host = std::make_unique<NotifyHost>();
}

void ControllerTest::TearDown() {
    controller.reset(); // the engine and every camera instance go with it
    host.reset();
    cameras_.clear();
    boxes.reset();
    plugins_.clear();
    qeltest::ComTest::TearDown();
}

qelcam::ScopedTestCamera* ControllerTest::AddCamera(const std::wstring& name, DWORD variant) {
    cameras_.push_back(std::make_unique<qelcam::ScopedTestCamera>(name, variant));
    EXPECT_EQ(S_OK, cameras_.back()->Result()) << "registering the camera";
    return cameras_.back().get();
}

void ControllerTest::StartController(const std::string& extra) {
    program.WriteIni("[Basic]\r\nImage Folder=" + PictureFolder() + "\r\nVideo Folder=" + VideoFolder() + "\r\n" +
                     extra);
    controller = std::make_unique<ControllerProbe>();
    controller->SetMode(0);
    controller->SetVideoWindow(host->Handle());
    controller->SetNotifyWindow(host->Handle());
    ASSERT_EQ(S_OK, controller->OpenEngine());
}

void ControllerTest::PreviewCamera(const std::wstring& name, const std::string& extra) {
    StartController(extra);
    if (HasFatalFailure())
        return;
    ASSERT_GE(controller->EnumVideoDevices(), 1);
    controller->EnumAudioDevices();
    ASSERT_EQ(0, controller->SelectVideoDevice(Narrow(name).c_str()));
    ASSERT_EQ(LIVE_PREVIEWING, EngineState());
}

void ControllerTest::ChooseAudioInput(const std::wstring& name) {
    const int count = controller->EnumAudioDevices();
    int chosen = -1;
    for (int i = 0; i < count; ++i)
        if (controller->GetAudioDeviceName(i).Compare(Narrow(name).c_str()) == 0)
            chosen = i;
    ASSERT_NE(-1, chosen) << "the audio input " << Narrow(name) << " is not listed";
    ASSERT_EQ(0, controller->SelectAudioDevice(chosen, 1));
    controller->SetAudioOn(1);
}

} // namespace apptest
