#pragma once
// A capture controller on a test program folder and a stand-in main dialog, with synthetic cameras
// and the plug-ins a preview and a recording splice registered, and every message box answered.
#include <memory>
#include <string>
#include <vector>

#include "CaptureController.h"
#include "notify_host.h"
#include "plugin_testkit.h"
#include "program_folder_fixture.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "test_camera.h"

namespace apptest {

// Reads what the controller keeps to itself.
class ControllerProbe : public CCaptureController {
public:
    using CCaptureController::m_captureFileName;
    using CCaptureController::m_engine;
};

class ControllerTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers a camera under this name.
    qelcam::ScopedTestCamera* AddCamera(const std::wstring& name, DWORD variant = qelcam::kWithPreviewPin);
    // Writes the settings file (capture folders inside the test's folder, plus `extra`), then makes the
    // controller on the stand-in dialog and starts its engine, as live mode does.
    void StartController(const std::string& extra = "");
    // StartController, then the device lists and the camera chosen by its name.
    void PreviewCamera(const std::wstring& name, const std::string& extra = "");
    // The listed audio input of this name chosen for recording, with the sound on.
    void ChooseAudioInput(const std::wstring& name);

    std::string VideoFolder() const { return program.File("videos"); }
    std::string PictureFolder() const { return program.File("pictures"); }
    LiveState EngineState() const { return controller->m_engine->GetClassState(); }

    static constexpr const wchar_t* kCamera = L"Qel Controller Camera";
    ScopedProgramFolder program;
    std::unique_ptr<qeltest::ScopedMessageBoxHook> boxes;
    std::unique_ptr<NotifyHost> host;
    std::unique_ptr<ControllerProbe> controller;

private:
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins_;
    std::vector<std::unique_ptr<qelcam::ScopedTestCamera>> cameras_;
};

std::string Narrow(const std::wstring& text);

} // namespace apptest
