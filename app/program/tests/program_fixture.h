#pragma once
// A machine ready for the program: every effect plug-in registered, one synthetic camera, a stand-in
// microphone (a second synthetic camera, listed as an audio input only) and the Windows Media key, each
// switchable by the test before the program starts.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin_testkit.h"
#include "qeltest/com_test.h"
#include "scoped_audio_input.h"
#include "test_camera.h"
#include "zentrik_run.h"

namespace programtest {

class ProgramTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void AddCamera();
    void AddMicrophone();
    // A program on the default skin, started with a camera, a microphone and the key: no box expected.
    // sizeMode: written as [Basic] dialogsize first when not empty.
    std::unique_ptr<ZentrikRun> StartQuietly(const char* sizeMode = nullptr);
    // The same, with prepare run on the program folder before the start (settings written, say).
    std::unique_ptr<ZentrikRun> StartPrepared(const std::function<void(ZentrikRun&)>& prepare);
    // The camera AddCamera registered; its controls reach its instance in the program's process.
    const qelcam::ScopedTestCamera& Camera() const { return *camera_; }
    // The preview area on the screen for the size mode.
    RECT PreviewOnScreen(const ZentrikRun& run, int mode) const;

    std::unique_ptr<ScopedWmfKey> wmfKey;
    // The variant AddCamera registers (kWithPropertyPages for a camera with its own page).
    DWORD cameraVariant = qelcam::kWithPreviewPin;

private:
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins_;
    std::unique_ptr<qelcam::ScopedTestCamera> camera_;
    std::unique_ptr<qelcam::ScopedTestCamera> microphoneSource_;
    std::unique_ptr<enginetest::ScopedAudioInput> microphone_;
};

// A camera frame in the preview area, read from the band along the area's top.
bool ReadPreviewFrameNumber(const RECT& area, uint32_t* frame);
// Whether the live picture is stretched over the whole area: its frame band reads across the area's
// width, and down every column the camera's vertical gradient rises from the top to the bottom edge
// without a step back (a picture at its own size, or a second one over a corner, breaks it). why: what
// was seen, for a failure message.
bool PictureFillsArea(const RECT& area, std::string* why);
// Waits until the picture fills the area (true) or the time is up.
bool WaitForPictureFillingArea(ZentrikRun& run, const RECT& area, DWORD ms, std::string* why);
// The visible windows of the program that lie over the area, with class and screen rectangle.
std::string WindowsOver(const ZentrikRun& run, const RECT& area);
// Waits until the screen shows a camera frame in the preview area (true) or the time is up.
bool WaitForFrameNumber(ZentrikRun& run, const RECT& area, uint32_t* frame, DWORD ms);

constexpr wchar_t kCameraName[] = L"Qel Program Camera";
constexpr wchar_t kMicrophoneName[] = L"Qel Program Microphone";

} // namespace programtest
