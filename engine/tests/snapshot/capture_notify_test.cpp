// Snapshots and notifications around a real recording of the synthetic camera: a snapshot armed while
// recording, and the capture already stopped when the host hears of a limit, a lost camera or an
// error abort.
#include <windows.h>

#include <vector>

#include "bmp_file.h"
#include "qeltest/pump.h"
#include "qeltest/watchdog.h"
#include "record_fixture.h"

namespace recordtest {
namespace {

class CaptureNotifyTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        qeltest::Watchdog::ExtendCurrentTest(60);
        host.SetObserver([this](const enginetest::ReceivedMessage& received) {
            arrivals.push_back({received.message, engine->GetClassState()});
        });
    }
    void StartRecording(const char* name) {
        ASSERT_TRUE(engine->SetCaptureFileName(FileIn(name).c_str()));
        engine->SetRecordFileType(RECORD_AVI);
        int status = -1;
        ASSERT_TRUE(engine->StartCapture(&status));
        ASSERT_EQ(LIVE_CAPTURING, engine->GetClassState());
        ASSERT_TRUE(WaitForFrames(3));
    }
    // The engine's state when the host received the message; LIVE_CLEAN when it never came.
    LiveState StateWhenHeard(UINT message) const {
        for (const Arrival& arrival : arrivals)
            if (arrival.message == message)
                return arrival.state;
        return LIVE_CLEAN;
    }
    struct Arrival {
        UINT message;
        LiveState state;
    };
    std::vector<Arrival> arrivals;
};

TEST_F(CaptureNotifyTest, AFileSnapshotArmedWhileRecordingLandsAfterThePreviewReturns) {
    StartRecording("snap.avi");
    std::vector<BYTE> buffer(640 * 480 * 3);
    EXPECT_FALSE(engine->OneSnapshot(buffer.data(), static_cast<UINT>(buffer.size())));
    const std::string path = folder.File("during.bmp");
    ASSERT_TRUE(engine->OneSnapshot(std::wstring(path.begin(), path.end()).c_str()));
    qeltest::PumpMessagesFor(500);
    EXPECT_FALSE(HostHeard(WM_LIVECAP_SNAPSHOT));

    ASSERT_TRUE(engine->StopCapture());
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_SNAPSHOT); }, 10000));
    EXPECT_EQ(LIVE_PREVIEWING, StateWhenHeard(WM_LIVECAP_SNAPSHOT));
    const std::vector<uint8_t> file = qelmedia::ReadWholeFile(path);
    EXPECT_EQ(921654u, file.size());
}

TEST_F(CaptureNotifyTest, LowDiskArrivesWithTheCaptureStopped) {
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("low.avi").c_str()));
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 50));
    Engine()->m_ullMinFreeSpace = ~0ull; // the disk fills up
    engine->SetRecordFileType(RECORD_AVI);
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_LOWDISK); }, 20000));
    const LiveState state = StateWhenHeard(WM_LIVECAP_LOWDISK);
    EXPECT_TRUE(state == LIVE_PREVIEWING || state == LIVE_STOPPED) << state;
}

TEST_F(CaptureNotifyTest, ALostCameraDuringARecordingIsHeardAfterTheStopAndNoPreviewFollows) {
    StartRecording("lost.avi");
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_DEVICE_LOST, 0));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_DEVICELOST); }, 10000));
    EXPECT_EQ(LIVE_STOPPED, StateWhenHeard(WM_LIVECAP_DEVICELOST));
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
    for (const auto& received : host.Notifications())
        if (received.message == WM_LIVECAP_DEVICELOST) {
            EXPECT_EQ(0u, received.wParam);
            EXPECT_EQ(0, received.lParam);
        }
}

TEST_F(CaptureNotifyTest, AnErrorAbortDuringARecordingStopsItAndChoosingTheCameraBringsThePreviewBack) {
    StartRecording("abort.avi");
    ASSERT_EQ(S_OK, RaiseCameraEvent(EC_ERRORABORT, E_FAIL));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_ERRORABORT); }, 10000));
    EXPECT_EQ(LIVE_STOPPED, StateWhenHeard(WM_LIVECAP_ERRORABORT));
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());

    UINT index = 99;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, kCamera, &index));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    const std::string path = folder.File("after.bmp");
    ASSERT_TRUE(engine->OneSnapshot(std::wstring(path.begin(), path.end()).c_str()));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_SNAPSHOT); }, 10000));
    EXPECT_EQ(921654u, qelmedia::ReadWholeFile(path).size());
}

} // namespace
} // namespace recordtest
