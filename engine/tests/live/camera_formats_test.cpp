// Capture formats and picture controls of a synthetic camera.
#include <vector>

#include "camera_fixture.h"

namespace enginetest {
namespace {

class CameraFormatsTest : public CameraTest {};

AM_MEDIA_TYPE* CurrentFormat(IAMStreamConfig* config) {
    AM_MEDIA_TYPE* type = nullptr;
    return SUCCEEDED(config->GetFormat(&type)) ? type : nullptr;
}

const VIDEOINFOHEADER& VideoOf(const AM_MEDIA_TYPE* type) {
    return *reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
}

TEST_F(CameraFormatsTest, TheFormatListIsTheCamerasCapabilities) {
    AddCamera(L"Qel Format Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Format Camera");
    IAMStreamConfig* config = engine->m_pVideoConfig;
    ASSERT_NE(nullptr, config);
    int expected = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&expected, &size));
    int count = 0;
    ASSERT_TRUE(engine->GetVideoFormatNum(&count));
    EXPECT_EQ(expected, count);
    for (int i = 0; i < count; ++i) {
        VIDEO_STREAM_CONFIG_CAPS caps;
        AM_MEDIA_TYPE* type = nullptr;
        ASSERT_EQ(S_OK, config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)));
        _LiteCapVideoInfo info = {};
        ASSERT_TRUE(engine->GetVideoFormat(i, &info));
        const VIDEOINFOHEADER& video = VideoOf(type);
        EXPECT_EQ(video.bmiHeader.biWidth, info.nWidth);
        EXPECT_EQ(video.bmiHeader.biHeight, info.nHeight);
        EXPECT_EQ(static_cast<int>(10000000LL / video.AvgTimePerFrame), info.nFrameRate);
        EXPECT_EQ(info.nFrameRate, engine->m_nFrameRate) << "the last format read sets the engine's rate";
        EXPECT_EQ(24, info.nBitCount);
        EXPECT_EQ(video.dwBitRate, info.dwBitRate);
        EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_RGB24, info.subtype));
        CLiveCapture::WixDeleteMediaType(type);
    }
    _LiteCapVideoInfo beyond = {};
    EXPECT_FALSE(engine->GetVideoFormat(count, &beyond));
    EXPECT_FALSE(engine->GetVideoFormat(-1, &beyond));
}

TEST_F(CameraFormatsTest, SettingThirtyFramesASecondSends333333AndRestartsThePreview) {
    AddCamera(L"Qel Rate Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Rate Camera");
    _LiteCapVideoInfo info = {};
    ASSERT_TRUE(engine->GetVideoFormat(2, &info)); // 320 x 240
    info.nFrameRate = 30;
    info.nBitCount = 8; // not applied: the depth stays the current format's
    ASSERT_TRUE(engine->SetVideoFormat(&info));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(30, engine->m_nFrameRate);
    AM_MEDIA_TYPE* type = CurrentFormat(engine->m_pVideoConfig);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(333333, VideoOf(type).AvgTimePerFrame);
    EXPECT_EQ(320, VideoOf(type).bmiHeader.biWidth);
    EXPECT_EQ(240, VideoOf(type).bmiHeader.biHeight);
    EXPECT_EQ(24, VideoOf(type).bmiHeader.biBitCount);
    EXPECT_EQ(320u * 240u * 3u, VideoOf(type).bmiHeader.biSizeImage);
    CLiveCapture::WixDeleteMediaType(type);
    BITMAPINFOHEADER header = {};
    ASSERT_TRUE(engine->GetSnapshotHeader(&header));
    EXPECT_EQ(320, header.biWidth);

    // A zero rate is refused before anything is touched.
    info.nFrameRate = 0;
    EXPECT_FALSE(engine->SetVideoFormat(&info));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(CameraFormatsTest, PictureControlsRoundTripThroughTheCamera) {
    AddCamera(L"Qel ProcAmp Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel ProcAmp Camera");
    ASSERT_NE(nullptr, engine->m_pProcAmp);
    for (VideoProcAmpProperty property : {VideoProcAmp_Brightness, VideoProcAmp_Contrast, VideoProcAmp_Hue}) {
        long value = 0, min = 0, max = 0, step = 0, def = 0;
        ASSERT_TRUE(engine->GetVideoSetting(property, &value, &min, &max, &step, &def)) << property;
        EXPECT_LT(min, max);
        const long wanted = min + step;
        EXPECT_TRUE(engine->SetVideoSetting(property, wanted));
        ASSERT_TRUE(engine->GetVideoSetting(property, &value, &min, &max, &step, &def));
        EXPECT_EQ(wanted, value);
    }
    long value = 0, min = 0, max = 0, step = 0;
    EXPECT_FALSE(engine->GetVideoSetting(VideoProcAmp_Brightness, &value, &min, &max, &step, nullptr));
}

TEST_F(CameraFormatsTest, ReapplyingASizeGoesThroughTheFirstCapabilityOfTheCompression) {
    AddCamera(L"Qel Size Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Size Camera");
    ASSERT_TRUE(engine->StopPreview());
    engine->TearDownGraph();
    IAMStreamConfig* config = engine->m_pVideoConfig;
    EXPECT_EQ(S_OK, engine->xSetVideoFormatEx(config, 320, 240, BI_RGB, 0, nullptr, 0));
    // The first RGB capability is 640 x 480 only: another size does not fit it.
    EXPECT_EQ(E_FAIL, engine->xSetVideoFormatEx(config, 320, 240, BI_RGB, 0, nullptr, 1));
    EXPECT_EQ(E_FAIL,
              engine->xSetVideoFormatEx(config, 640, 480, MAKEFOURCC('Y', 'U', 'Y', '2'), 0, nullptr, 1));
    EXPECT_EQ(S_OK, engine->xSetVideoFormatEx(config, 640, 480, BI_RGB, 0, nullptr, 1));
    AM_MEDIA_TYPE* type = CurrentFormat(config);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(640u * 480u * 3u, VideoOf(type).bmiHeader.biSizeImage);
    CLiveCapture::WixDeleteMediaType(type);
}

TEST_F(CameraFormatsTest, TheCompatibilityCameraDropsTo640x480ForACaptureAndGetsItsSizeBack) {
    AddCamera(L"DREM Notebook Camera R8-T01", qelcam::kWithPreviewPin);
    PreviewCamera(L"DREM Notebook Camera R8-T01");
    EXPECT_EQ(1, engine->IsR8TCamera());
    EXPECT_EQ(1, engine->bIsCompatibilityFlip());
    _LiteCapVideoInfo large = {};
    ASSERT_TRUE(engine->GetVideoFormat(4, &large)); // 1280 x 1024
    ASSERT_EQ(1280, large.nWidth);
    ASSERT_TRUE(engine->SetVideoFormat(&large));
    ASSERT_TRUE(engine->StopPreview());

    EXPECT_TRUE(engine->xChangeReslution(0));
    EXPECT_TRUE(engine->m_bResolutionLowered);
    EXPECT_EQ(1280, engine->m_nSavedWidth);
    AM_MEDIA_TYPE* type = CurrentFormat(engine->m_pVideoConfig);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(640, VideoOf(type).bmiHeader.biWidth);
    EXPECT_EQ(480, VideoOf(type).bmiHeader.biHeight);
    CLiveCapture::WixDeleteMediaType(type);
    EXPECT_FALSE(engine->xChangeReslution(0)) << "640 is not above 640";

    // The next preview build gives the size back.
    ASSERT_TRUE(engine->BuildPreviewGraph());
    EXPECT_FALSE(engine->m_bResolutionLowered);
    type = CurrentFormat(engine->m_pVideoConfig);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(1280, VideoOf(type).bmiHeader.biWidth);
    EXPECT_EQ(1024, VideoOf(type).bmiHeader.biHeight);
    CLiveCapture::WixDeleteMediaType(type);
    EXPECT_TRUE(engine->StartPreview());
    EXPECT_FALSE(engine->xChangeReslution(1)) << "nothing lowered any more";
}

TEST_F(CameraFormatsTest, ANameDifferingInLetterCaseIsNoCompatibilityCamera) {
    AddCamera(L"DREM NOTEBOOK CAMERA R8-T01", qelcam::kWithPreviewPin);
    PreviewCamera(L"DREM NOTEBOOK CAMERA R8-T01");
    EXPECT_EQ(0, engine->IsR8TCamera());
    EXPECT_EQ(0, engine->bIsCompatibilityFlip());
    ASSERT_TRUE(engine->StopPreview());
    EXPECT_FALSE(engine->xChangeReslution(0));
}

} // namespace
} // namespace enginetest
