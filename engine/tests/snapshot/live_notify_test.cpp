// Graph events of the synthetic camera and limit messages as the host's kept procedure receives them,
// with the engine's state at the moment each arrives.
#include <windows.h>

#include <vector>

#include "live_snapshot_fixture.h"
#include "qeltest/pump.h"
#include "test_camera.h"

namespace enginetest {
namespace {

class LiveNotifyTest : public LiveSnapshotTest {
protected:
    void SetUp() override {
        LiveSnapshotTest::SetUp();
        host.SetObserver(
            [this](const ReceivedMessage&) { statesAtArrival.push_back(engine->GetClassState()); });
    }
    void ExpectOnly(UINT message, WPARAM wParam, LPARAM lParam) {
        ASSERT_EQ(1u, host.Notifications().size());
        EXPECT_EQ(message, host.Notifications()[0].message);
        EXPECT_EQ(wParam, host.Notifications()[0].wParam);
        EXPECT_EQ(lParam, host.Notifications()[0].lParam);
    }
    // The graph's event sink, as a filter raises events.
    void RaiseInGraph(long code, LONG_PTR first, LONG_PTR second) {
        IMediaEventSink* sink = nullptr;
        ASSERT_EQ(S_OK,
                  engine->m_pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)));
        EXPECT_EQ(S_OK, sink->Notify(code, first, second));
        sink->Release();
    }
    std::vector<LiveState> statesAtArrival;
};

TEST_F(LiveNotifyTest, ALostCameraReachesTheHostAndThePreviewIsNotWantedAgain) {
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_DEVICE_LOST, 0));
    ASSERT_TRUE(WaitForNotifications(1));
    ExpectOnly(WM_LIVECAP_DEVICELOST, 0, 0);
    EXPECT_FALSE(engine->m_bWantPreview);
}

TEST_F(LiveNotifyTest, OtherDevicesAndACameraArrivingAgainAreIgnored) {
    // A second camera in the same graph, not the engine's.
    const CLSID otherClsid = AddCamera(L"Qel Other Camera", qelcam::kWithPreviewPin);
    IBaseFilter* other = nullptr;
    ASSERT_EQ(S_OK, qelcam::BindVideoInputDevice(L"Qel Other Camera", &other));
    ASSERT_EQ(S_OK, engine->m_pGraph->AddFilter(other, L"Other camera"));
    auto raise = reinterpret_cast<qelcam::RaiseCameraEventFunc>(
        reinterpret_cast<void*>(GetProcAddress(qelcam::CameraModule(), qelcam::kRaiseCameraEventExport)));
    ASSERT_NE(nullptr, raise);
    EXPECT_EQ(S_OK, raise(&otherClsid, EC_DEVICE_LOST, 0));
    EXPECT_EQ(S_OK, RaiseCameraEvent(EC_DEVICE_LOST, 1));
    qeltest::PumpMessagesFor(500);
    EXPECT_TRUE(host.Notifications().empty());
    EXPECT_TRUE(engine->m_bWantPreview);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    engine->m_pGraph->RemoveFilter(other);
    other->Release();
}

TEST_F(LiveNotifyTest, AnErrorAbortOutsideACaptureStillReachesTheHost) {
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_ERRORABORT, E_UNEXPECTED));
    ASSERT_TRUE(WaitForNotifications(1));
    ExpectOnly(WM_LIVECAP_ERRORABORT, 0, 0);
    EXPECT_TRUE(engine->m_bWantPreview);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(LiveNotifyTest, AStoppedStreamOutsideACaptureIsOnlyLogged) {
    RaiseInGraph(EC_STREAM_CONTROL_STOPPED, 0, 0);
    qeltest::PumpMessagesFor(300);
    EXPECT_TRUE(host.Notifications().empty());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

// With a capture standing in (the preview graph taken for the record graph): the capture is already
// stopped when each notification arrives.
TEST_F(LiveNotifyTest, AnErrorAbortDuringACaptureStopsItAndChoosingTheCameraBringsThePreviewBack) {
    PretendCapturing();
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_ERRORABORT, E_FAIL));
    ASSERT_TRUE(WaitForNotifications(1));
    ExpectOnly(WM_LIVECAP_ERRORABORT, 0, 0);
    EXPECT_EQ(std::vector<LiveState>{LIVE_STOPPED}, statesAtArrival);
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState()); // no preview after an abort

    EXPECT_EQ(0, engine->SetUsedDeviceByIndex(DEVICE_VIDEO, engine->m_nCurVideoDevice));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(engine->m_bWantPreview);
    const size_t before = host.Notifications().size();
    ASSERT_TRUE(engine->OneSnapshot(Wide(dir.File("back.bmp")).c_str()));
    ASSERT_TRUE(WaitForNotifications(before + 1));
    EXPECT_EQ(921654, FileSize(dir.File("back.bmp")));
}

TEST_F(LiveNotifyTest, ALostCameraDuringACaptureIsReportedAfterTheStop) {
    PretendCapturing();
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_DEVICE_LOST, 0));
    ASSERT_TRUE(WaitForNotifications(1));
    ExpectOnly(WM_LIVECAP_DEVICELOST, 0, 0);
    EXPECT_EQ(std::vector<LiveState>{LIVE_STOPPED}, statesAtArrival);
}

TEST_F(LiveNotifyTest, AStoppedCaptureStreamIsAFileLimitWithoutTheTwoGigabytes) {
    PretendCapturing();
    RaiseInGraph(EC_STREAM_CONTROL_STOPPED, 0, 0);
    ASSERT_TRUE(WaitForNotifications(1));
    ExpectOnly(WM_LIVECAP_FILELIMIT, 0, 0);
    ASSERT_EQ(1u, statesAtArrival.size());
    EXPECT_NE(LIVE_CAPTURING, statesAtArrival[0]);
    // The preview is wanted and comes back.
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(LiveNotifyTest, LimitMessagesStopTheCaptureBeforeTheHostHears) {
    // As the polling thread sends them.
    PretendCapturing();
    const LPARAM self = reinterpret_cast<LPARAM>(static_cast<CLiveCapture*>(engine));
    EXPECT_EQ(1, SendMessageA(engine->GetClassNotifyHWND(), WM_LIVECAP_FILELIMIT, 0, self));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    PretendCapturing();
    EXPECT_EQ(1, SendMessageA(engine->GetClassNotifyHWND(), WM_LIVECAP_LOWDISK, 100 * 1048576, self));
    ASSERT_EQ(2u, host.Notifications().size());
    EXPECT_EQ(WM_LIVECAP_FILELIMIT, host.Notifications()[0].message);
    EXPECT_EQ(1, host.Notifications()[0].lParam);
    EXPECT_EQ(WM_LIVECAP_LOWDISK, host.Notifications()[1].message);
    EXPECT_EQ(0u, host.Notifications()[1].wParam);
    EXPECT_EQ(1, host.Notifications()[1].lParam);
    ASSERT_EQ(2u, statesAtArrival.size());
    EXPECT_NE(LIVE_CAPTURING, statesAtArrival[0]);
    EXPECT_NE(LIVE_CAPTURING, statesAtArrival[1]);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

} // namespace
} // namespace enginetest
