// The device property frames' result codes and the stream-format frame over a previewing camera.
#include <windows.h>

#include <gtest/gtest.h>
#include <Vostrel.h>

#include "camera_fixture.h"

namespace enginetest {
namespace {

class DevicePagesTest : public CameraTest {};

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

} // namespace
} // namespace enginetest
