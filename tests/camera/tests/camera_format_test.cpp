// Capture formats: the capabilities a capture pin lists, SetFormat/GetFormat, and what is refused.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "camera_test_support.h"
#include "test_frame_pattern.h"

namespace cameratest {
namespace {

class CameraFormatTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_EQ(S_OK, camera_.Result());
        ASSERT_EQ(S_OK, camera_.Bind(&filter_));
        ASSERT_EQ(S_OK, PinAt(filter_.Get(), 0).As(&config_));
    }

    static AM_MEDIA_TYPE* TypeOf(LONG width, LONG height, REFERENCE_TIME interval, const GUID& subtype) {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        ZeroMemory(type, sizeof *type);
        type->majortype = MEDIATYPE_Video;
        type->subtype = subtype;
        type->formattype = FORMAT_VideoInfo;
        type->bFixedSizeSamples = TRUE;
        type->cbFormat = sizeof(VIDEOINFOHEADER);
        type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
        ZeroMemory(info, sizeof *info);
        info->AvgTimePerFrame = interval;
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info->bmiHeader.biWidth = width;
        info->bmiHeader.biHeight = height;
        info->bmiHeader.biPlanes = 1;
        info->bmiHeader.biBitCount = subtype == MEDIASUBTYPE_RGB32 ? 32 : 24;
        info->bmiHeader.biSizeImage = static_cast<DWORD>(qelcam::Rgb24Stride(width) * height);
        return type;
    }

    static void Free(AM_MEDIA_TYPE* type) {
        CoTaskMemFree(type->pbFormat);
        CoTaskMemFree(type);
    }

    static const VIDEOINFOHEADER& Info(const AM_MEDIA_TYPE* type) {
        return *reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    }

    qelcam::ScopedTestCamera camera_{L"Qel Format Camera"};
    ComPtr<IBaseFilter> filter_;
    ComPtr<IAMStreamConfig> config_;
};

TEST_F(CameraFormatTest, ListsRgb24AtThreeSizesAndTwoRates) {
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config_->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(6, count);
    EXPECT_EQ(128, size);
    std::set<std::pair<LONG, LONG>> sizes;
    std::set<REFERENCE_TIME> intervals;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        ASSERT_EQ(S_OK, config_->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)));
        EXPECT_EQ(MEDIATYPE_Video, type->majortype);
        EXPECT_EQ(MEDIASUBTYPE_RGB24, type->subtype);
        ASSERT_EQ(FORMAT_VideoInfo, type->formattype);
        const VIDEOINFOHEADER& info = Info(type);
        EXPECT_EQ(24, info.bmiHeader.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(qelcam::Rgb24Stride(info.bmiHeader.biWidth) * info.bmiHeader.biHeight),
                  info.bmiHeader.biSizeImage);
        EXPECT_EQ(info.bmiHeader.biWidth, caps.MinOutputSize.cx);
        EXPECT_EQ(info.bmiHeader.biHeight, caps.MaxOutputSize.cy);
        EXPECT_EQ(info.AvgTimePerFrame, caps.MinFrameInterval);
        EXPECT_EQ(FORMAT_VideoInfo, caps.guid);
        sizes.insert({info.bmiHeader.biWidth, info.bmiHeader.biHeight});
        intervals.insert(info.AvgTimePerFrame);
        CoTaskMemFree(type->pbFormat);
        CoTaskMemFree(type);
    }
    EXPECT_EQ((std::set<std::pair<LONG, LONG>>{{320, 240}, {640, 480}, {1280, 1024}}), sizes);
    EXPECT_EQ((std::set<REFERENCE_TIME>{333333, 666666}), intervals);

    AM_MEDIA_TYPE* type = reinterpret_cast<AM_MEDIA_TYPE*>(1);
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    EXPECT_EQ(S_FALSE, config_->GetStreamCaps(count, &type, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(nullptr, type);
    EXPECT_EQ(E_INVALIDARG, config_->GetStreamCaps(-1, &type, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(E_POINTER, config_->GetStreamCaps(0, &type, nullptr));
}

TEST_F(CameraFormatTest, SetFormatChangesTheFramesDelivered) {
    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_EQ(S_OK, config_->GetFormat(&current));
    EXPECT_EQ(640, Info(current).bmiHeader.biWidth) << "the first capability is the default";
    Free(current);

    // A caller's wrong image size (as some set it) is not trusted.
    AM_MEDIA_TYPE* wanted = TypeOf(1280, 1024, 666666, MEDIASUBTYPE_RGB24);
    reinterpret_cast<VIDEOINFOHEADER*>(wanted->pbFormat)->bmiHeader.biSizeImage = 100;
    ASSERT_EQ(S_OK, config_->SetFormat(wanted));
    Free(wanted);
    ASSERT_EQ(S_OK, config_->GetFormat(&current));
    EXPECT_EQ(1280, Info(current).bmiHeader.biWidth);
    EXPECT_EQ(1024, Info(current).bmiHeader.biHeight);
    EXPECT_EQ(666666, Info(current).AvgTimePerFrame);
    EXPECT_EQ(1280u * 1024u * 3u, Info(current).bmiHeader.biSizeImage);
    Free(current);

    FrameRecorder recorder;
    CaptureGraph graph;
    ASSERT_EQ(S_OK, graph.Build(filter_.Get(), &recorder));
    EXPECT_EQ(1280, graph.Width());
    ASSERT_EQ(S_OK, graph.Run());
    ASSERT_TRUE(recorder.WaitForCount(3, 10000));
    graph.Stop();
    const std::vector<ReceivedFrame> frames = recorder.Frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(1280 * 1024 * 3, frames[i].length);
        EXPECT_TRUE(frames[i].decoded);
        if (frames[i].timed) {
            EXPECT_EQ(666666, frames[i].stop - frames[i].start);
        }
    }
}

TEST_F(CameraFormatTest, RefusesWhatItCannotDeliverAndKeepsItsFormat) {
    const struct {
        LONG width, height;
        REFERENCE_TIME interval;
        GUID subtype;
    } refused[] = {
        {640, 480, 333333, MEDIASUBTYPE_RGB32},  {800, 600, 333333, MEDIASUBTYPE_RGB24},
        {640, -480, 333333, MEDIASUBTYPE_RGB24}, {640, 480, 166666, MEDIASUBTYPE_RGB24},
        {640, 480, 2000000, MEDIASUBTYPE_RGB24},
    };
    for (const auto& r : refused) {
        AM_MEDIA_TYPE* type = TypeOf(r.width, r.height, r.interval, r.subtype);
        EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config_->SetFormat(type)) << r.width << "x" << r.height << " @" << r.interval;
        Free(type);
    }
    AM_MEDIA_TYPE* truncated = TypeOf(320, 240, 333333, MEDIASUBTYPE_RGB24);
    truncated->cbFormat = sizeof(VIDEOINFOHEADER) - 8;
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config_->SetFormat(truncated));
    Free(truncated);
    EXPECT_EQ(E_POINTER, config_->SetFormat(nullptr));

    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_EQ(S_OK, config_->GetFormat(&current));
    EXPECT_EQ(640, Info(current).bmiHeader.biWidth);
    EXPECT_EQ(333333, Info(current).AvgTimePerFrame);
    Free(current);
}

TEST_F(CameraFormatTest, ConnectedPinTakesANewRateButNoNewSizeWhileRunning) {
    FrameRecorder recorder;
    CaptureGraph graph;
    ASSERT_EQ(S_OK, graph.Build(filter_.Get(), &recorder));

    AM_MEDIA_TYPE* slower = TypeOf(640, 480, 666666, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(S_OK, config_->SetFormat(slower)) << "the same size keeps the connection";
    Free(slower);
    AM_MEDIA_TYPE connected = {};
    ASSERT_EQ(S_OK, graph.CapturePin()->ConnectionMediaType(&connected));
    EXPECT_EQ(666666, reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat)->AvgTimePerFrame);
    CoTaskMemFree(connected.pbFormat);

    ASSERT_EQ(S_OK, graph.Run());
    AM_MEDIA_TYPE* smaller = TypeOf(320, 240, 333333, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(VFW_E_NOT_STOPPED, config_->SetFormat(smaller));
    Free(smaller);
    ASSERT_TRUE(recorder.WaitForCount(2, 5000));
    graph.Stop();
    for (const ReceivedFrame& frame : recorder.Frames())
        EXPECT_EQ(640 * 480 * 3, frame.length);
}

TEST_F(CameraFormatTest, NewSizeOnAConnectedStoppedPinReconnectsIt) {
    FrameRecorder recorder;
    CaptureGraph graph;
    ASSERT_EQ(S_OK, graph.Build(filter_.Get(), &recorder));
    ASSERT_EQ(640, graph.Width());

    AM_MEDIA_TYPE* smaller = TypeOf(320, 240, 333333, MEDIASUBTYPE_RGB24);
    ASSERT_EQ(S_OK, config_->SetFormat(smaller));
    Free(smaller);
    AM_MEDIA_TYPE connected = {};
    ASSERT_EQ(S_OK, graph.CapturePin()->ConnectionMediaType(&connected));
    ASSERT_EQ(FORMAT_VideoInfo, connected.formattype);
    EXPECT_EQ(320, reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader.biWidth);
    CoTaskMemFree(connected.pbFormat);

    recorder.SetFrameSize(320, 240);
    ASSERT_EQ(S_OK, graph.Run());
    ASSERT_TRUE(recorder.WaitForCount(2, 5000));
    graph.Stop();
    for (const ReceivedFrame& frame : recorder.Frames()) {
        EXPECT_EQ(320 * 240 * 3, frame.length);
        EXPECT_TRUE(frame.decoded);
    }
}

}  // namespace
}  // namespace cameratest
