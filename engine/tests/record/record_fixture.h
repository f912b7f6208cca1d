#pragma once
// A recording engine on a previewing synthetic camera, with the plug-ins a recording needs registered
// and every message box answered (the digital zoom plug-in of the preview may be missing here).
#include "camera_fixture.h"
#include "plugin_testkit.h"
#include "scoped_audio_input.h"
#include "qeltest/message_box_hook.h"
#include "qeltest/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace recordtest {

class RecordProbe : public enginetest::EngineProbe {
public:
    using CLiveCapture::m_bCaptureBuilt;
    using CLiveCapture::m_bPreviewThroughTee;
    using CLiveCapture::m_bWantPreview;
    using CLiveCapture::m_hPollingThread;
    using CLiveCapture::m_nCaptureStatus;
    using CLiveCapture::m_nSpacePollingInterval;
    using CLiveCapture::m_pAudioMuter;
    using CLiveCapture::m_pDroppedFrames;
    using CLiveCapture::m_pFileSink;
    using CLiveCapture::m_pMux;
    using CLiveCapture::m_ullFileSizeLimit;
    using CLiveCapture::m_ullMinFreeSpace;
};

class RecordTest : public enginetest::CameraTest {
protected:
    void SetUp() override;
    void TearDown() override;

    RecordProbe* Engine() const { return static_cast<RecordProbe*>(engine); }
    std::wstring FileIn(const std::string& name) const;
    // Names of the filters from the camera to the multiplexer's video input, camera first (the
    // camera itself left out).
    std::vector<std::wstring> ChainInFrontOfMux() const;
    // Message boxes other than the missing zoom plug-in's.
    std::vector<std::string> UnexpectedBoxes() const;
    // Pumps until the running capture has recorded at least `frames` frames (false after 10 s).
    bool WaitForFrames(int frames) const;
    // The host received this notification (how many times).
    bool HostHeard(UINT message) const;
    int TimesHostHeard(UINT message) const;
    // On every synthetic camera of the process: raise a graph event, stop or resume its frames.
    static HRESULT RaiseCameraEvent(long code, LONG_PTR param);
    static HRESULT SetCamerasDelivering(bool on);
    // A second synthetic camera listed in the audio input category under `name`, standing in for a
    // microphone (it offers no audio stream), chosen as the engine's audio input.
    void UseStandInMicrophone(const std::wstring& name, std::unique_ptr<enginetest::ScopedAudioInput>* microphone);
    // The frames the capture that ended last recorded, by the engine's statistics kept at its stop.
    int FramesOfLastCapture() const;
    // A complete AVI holding exactly `delivered` frames of the camera, whose index and stream length
    // are those frames plus one place holder for each frame the camera skipped. With readNumbers,
    // every stored frame must carry the camera's frame number (no effect changed the picture), the
    // numbers must rise, and each gap between them must be filled by exactly that many place holders.
    void ExpectWholeRecording(const std::wstring& file, int delivered, bool readNumbers) const;

    static constexpr const wchar_t* kCamera = L"Qel Record Camera";
    std::unique_ptr<qeltest::ScopedMessageBoxHook> boxes;
    qeltest::TempDir folder;

private:
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins_;
};

} // namespace recordtest
