#pragma once
// The effect chain's tests: an engine previewing a synthetic camera, with the stand-in plug-in
// registered under every plug-in class ID (or the real rotate and flip plug-ins where a test asks),
// the engine's effect state opened up, and the preview chain read back from the graph.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <Vostrel.h>

#include "host_window.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "standin_control.h"
#include "test_camera.h"

namespace enginetest {

class EffectsProbe : public CLiveCapture {
public:
    using CLiveCapture::ApplyCaptureQelFilter;
    using CLiveCapture::ApplyPreviewQelFilter;
    using CLiveCapture::FindInputPin;
    using CLiveCapture::FindOutputPin;
    using CLiveCapture::SetOffPreviewFilter;
    using CLiveCapture::SetPreviewFilterPercent;
    using CLiveCapture::xInsertCaptureEffects;
    using CLiveCapture::xBuildRecordEnd;
    using CLiveCapture::xRenewAviMux;
    using CLiveCapture::xFreshMuxInput;
    using CLiveCapture::m_bWantAudio;
    using CLiveCapture::m_pMux;
    using CLiveCapture::m_wszCaptureFile;
    using CLiveCapture::m_bEffectInPreview;
    using CLiveCapture::m_bEffectOn;
    using CLiveCapture::m_bFlipInPreview;
    using CLiveCapture::m_bFlipOn;
    using CLiveCapture::m_bRotateInPreview;
    using CLiveCapture::m_bSpecialSelected;
    using CLiveCapture::m_bUseVMR;
    using CLiveCapture::m_bWantPreview;
    using CLiveCapture::m_nAudioSwitch;
    using CLiveCapture::m_nBrightness;
    using CLiveCapture::m_nContrast;
    using CLiveCapture::m_nDateTimePadding;
    using CLiveCapture::m_nEnhanceLevel;
    using CLiveCapture::m_nFlipBits;
    using CLiveCapture::m_nImageQuality;
    using CLiveCapture::m_nVideoQuality;
    using CLiveCapture::m_nZoomIndex;
    using CLiveCapture::m_pBuilder;
    using CLiveCapture::m_pCapEffect;
    using CLiveCapture::m_pCapFlipFilter;
    using CLiveCapture::m_pCapRotateFilter;
    using CLiveCapture::m_pGraph;
    using CLiveCapture::m_pPreEffect;
    using CLiveCapture::m_pPreFlipFilter;
    using CLiveCapture::m_pPreRotateFilter;
    using CLiveCapture::m_pVideoCapFilter;
    using CLiveCapture::m_recordFileType;
    using CLiveCapture::m_state;
    using CLiveCapture::m_wszPhotoFrame;
};

// The plug-in class IDs the engine creates, all served by the stand-in unless a test says otherwise.
std::vector<CLSID> EnginePluginClasses();

class EffectsTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers a camera under the name, starts the engine and previews it.
    void Preview(const std::wstring& cameraName, DWORD variant = qelcam::kWithPreviewPin);
    qelcam::ScopedTestCamera* AddCamera(const std::wstring& name, DWORD variant);

    // The log of one plug-in class, without its lifetime entries.
    std::vector<std::string> Calls(REFCLSID clsid) const { return standins.Log(clsid); }
    // Graph names of the filters in front of the filter named downstreamName, from the nearest
    // upstream one that has no single video input (the camera or a tee) to it, along input pin 0.
    std::vector<std::wstring> ChainInFrontOf(const wchar_t* downstreamName) const;
    size_t FilterCount() const;
    std::vector<std::wstring> FilterNames() const;
    bool Running() const;

    // Created first so that it is the last to go: plug-in messages during the engine's teardown.
    qeltest::ScopedMessageBoxHook boxes;
    standin::StandinModule standins;
    HostWindow host;
    EffectsProbe* engine = nullptr;

private:
    std::vector<std::unique_ptr<qelcam::ScopedTestCamera>> cameras_;
};

} // namespace enginetest
