// Formats and picture controls without a camera: every path that has nothing to work on answers 0.
#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

namespace enginetest {
namespace {

class FormatsTest : public qeltest::ComTest {};

VIDEO_STREAM_CONFIG_CAPS Caps(int minW, int minH, int maxW, int maxH, int granX, int granY) {
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.MinOutputSize = {minW, minH};
    caps.MaxOutputSize = {maxW, maxH};
    caps.OutputGranularityX = granX;
    caps.OutputGranularityY = granY;
    return caps;
}

TEST_F(FormatsTest, WithoutStreamConfigurationOrPictureControlsEverythingAnswers0) {
    EngineProbe engine;
    int count = 3;
    _LiteCapVideoInfo info = {};
    info.nFrameRate = 30;
    long value = 0, min = 0, max = 0, step = 0, def = 0;
    EXPECT_FALSE(engine.GetVideoFormatNum(&count));
    EXPECT_FALSE(engine.GetVideoFormatNum(nullptr));
    EXPECT_FALSE(engine.GetVideoFormat(0, &info));
    EXPECT_FALSE(engine.GetVideoFormat(0, nullptr));
    EXPECT_FALSE(engine.GetVideoInfo(&info));
    EXPECT_FALSE(engine.SetVideoFormat(&info));
    EXPECT_FALSE(engine.SetVideoFormat(nullptr));
    EXPECT_FALSE(engine.SetVideoSetting(VideoProcAmp_Brightness, 10));
    EXPECT_FALSE(engine.GetVideoSetting(VideoProcAmp_Brightness, &value, &min, &max, &step, &def));
    EXPECT_FALSE(engine.CallACMAudioFormatDlg());
    EXPECT_EQ(E_FAIL, engine.xSetVideoFormatEx(nullptr, 640, 480, BI_RGB, 0, nullptr, 1));
    EXPECT_EQ(15, engine.m_nFrameRate);
}

TEST_F(FormatsTest, ResolutionFitsACapabilityWithinItsRangeAndGranularity) {
    CLiveCapture engine;
    const auto caps = Caps(160, 120, 1280, 1024, 16, 8);
    EXPECT_TRUE(engine.xIsCaptureSourceSupportResolution(CSize(160, 120), caps));
    EXPECT_TRUE(engine.xIsCaptureSourceSupportResolution(CSize(1280, 1024), caps));
    EXPECT_TRUE(engine.xIsCaptureSourceSupportResolution(CSize(640, 480), caps));
    EXPECT_FALSE(engine.xIsCaptureSourceSupportResolution(CSize(648, 480), caps)); // off the 16-pixel grid
    EXPECT_FALSE(engine.xIsCaptureSourceSupportResolution(CSize(640, 484), caps));
    EXPECT_FALSE(engine.xIsCaptureSourceSupportResolution(CSize(144, 120), caps));
    EXPECT_FALSE(engine.xIsCaptureSourceSupportResolution(CSize(1296, 1024), caps));
    EXPECT_FALSE(engine.xIsCaptureSourceSupportResolution(CSize(640, 1032), caps));
    // No granularity: any size in range.
    EXPECT_TRUE(engine.xIsCaptureSourceSupportResolution(CSize(641, 479), Caps(160, 120, 1280, 1024, 0, 0)));
}

TEST_F(FormatsTest, ResolutionSwitchNeedsACompatibilityCameraAndASavedResolution) {
    EngineProbe engine;
    EXPECT_FALSE(engine.xChangeReslution(1)); // nothing lowered
    EXPECT_FALSE(engine.xChangeReslution(0)); // no compatibility camera
    engine.SetFlipCompatibility(1);
    EXPECT_FALSE(engine.xChangeReslution(0)); // no stream configuration
    EXPECT_FALSE(engine.m_bResolutionLowered);
}

TEST_F(FormatsTest, MediaTypeHelpersFreeFormatBlocksAndAcceptNull) {
    CLiveCapture::WixDeleteMediaType(nullptr);
    CLiveCapture::WixFreeMediaType(nullptr);
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    ASSERT_NE(nullptr, type);
    ZeroMemory(type, sizeof *type);
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type->cbFormat));
    CLiveCapture::WixFreeMediaType(type);
    EXPECT_EQ(nullptr, type->pbFormat);
    EXPECT_EQ(0u, type->cbFormat);
    CLiveCapture::WixDeleteMediaType(type);
}

} // namespace
} // namespace enginetest
