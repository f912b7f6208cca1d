// The camera's frames in a running graph: numbered, timed, paced; stopped and resumed by the test;
// dropped-frame statistics; and the events a failing device raises.
#include <gtest/gtest.h>

#include <algorithm>

#include "camera_test_support.h"
#include "qeltest/pump.h"

namespace cameratest {
namespace {

class CameraStreamTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_EQ(S_OK, camera_.Result());
        ASSERT_EQ(S_OK, graph_.Build(camera_.Name(), &recorder_));
    }

    qelcam::ScopedTestCamera camera_{L"Qel Stream Camera", qelcam::kCaptureOnly};
    FrameRecorder recorder_;
    CaptureGraph graph_;
};

TEST_F(CameraStreamTest, FramesCarryIncreasingNumbersThatMatchTheirTimes) {
    ASSERT_EQ(640, graph_.Width());
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(12, 10000));
    graph_.Stop();
    const std::vector<ReceivedFrame> frames = recorder_.Frames();
    ASSERT_GE(frames.size(), 12u);
    EXPECT_TRUE(frames[0].discontinuity);
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(frames[i].decoded) << "frame " << i;
        EXPECT_EQ(640 * 480 * 3, frames[i].length);
        ASSERT_TRUE(frames[i].timed);
        EXPECT_EQ(static_cast<REFERENCE_TIME>(frames[i].number) * 333333, frames[i].start);
        EXPECT_EQ(frames[i].start + 333333, frames[i].stop);
        EXPECT_EQ(static_cast<LONGLONG>(frames[i].number), frames[i].mediaStart);
        if (i > 0) {
            EXPECT_GT(frames[i].number, frames[i - 1].number);
            EXPECT_FALSE(frames[i].discontinuity);
        }
    }
    // Paced in real time: frame n of a 30 fps stream is not taken before n/30 s.
    EXPECT_LE(frames.back().number, frames.size() + 30u) << "numbers jump only for late frames";
}

TEST_F(CameraStreamTest, StopsDeliveringUntilSwitchedOnAgain) {
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(3, 10000));
    EXPECT_EQ(S_OK, camera_.SetDelivering(false));
    qeltest::PumpMessagesFor(150);  // a frame already being delivered may still arrive
    const size_t stalled = recorder_.Count();
    qeltest::PumpMessagesFor(500);
    EXPECT_EQ(stalled, recorder_.Count());

    EXPECT_EQ(S_OK, camera_.SetDelivering(true));
    ASSERT_TRUE(recorder_.WaitForCount(stalled + 3, 10000));
    ComPtr<IAMDroppedFrames> dropped;
    ASSERT_EQ(S_OK, ComPtr<IPin>(graph_.CapturePin()).As(&dropped));
    LONG count = -1;
    EXPECT_EQ(S_OK, dropped->GetNumDropped(&count));
    EXPECT_EQ(0, count) << "frames a switched-off camera did not take are not drops";
    graph_.Stop();
    const std::vector<ReceivedFrame> frames = recorder_.Frames();
    EXPECT_TRUE(frames[stalled].discontinuity);
    EXPECT_GE(frames[stalled].number, frames[stalled - 1].number + 10) << "time went on while it was off";
}

TEST_F(CameraStreamTest, StopsCleanlyWhileItDeliversNothing) {
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(1, 10000));
    EXPECT_EQ(S_OK, camera_.SetDelivering(false));
    qeltest::PumpMessagesFor(100);
    // The streaming thread waits for frames that do not come: Stop must still end it (the watchdog
    // fails the test if it hangs), and nothing reaches downstream after it.
    EXPECT_EQ(S_OK, graph_.Camera()->Stop());
    const size_t afterStop = recorder_.Count();
    EXPECT_EQ(S_OK, camera_.SetDelivering(true));
    qeltest::PumpMessagesFor(200);
    EXPECT_EQ(afterStop, recorder_.Count());
}

TEST_F(CameraStreamTest, FramesMissedWhileDownstreamIsBusyCountAsDropped) {
    ComPtr<IAMDroppedFrames> dropped;
    ASSERT_EQ(S_OK, ComPtr<IPin>(graph_.CapturePin()).As(&dropped));
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(3, 10000));
    recorder_.HoldNextSample(400);
    const size_t before = recorder_.Count();
    ASSERT_TRUE(recorder_.WaitForCount(before + 4, 10000));
    // Read while streaming: the counts start again when the camera starts streaming again.
    LONG droppedCount = 0, delivered = 0, averageSize = 0;
    ASSERT_EQ(S_OK, dropped->GetNumDropped(&droppedCount));
    ASSERT_EQ(S_OK, dropped->GetNumNotDropped(&delivered));
    ASSERT_EQ(S_OK, dropped->GetAverageFrameSize(&averageSize));
    std::vector<LONG> numbers(static_cast<size_t>(std::max(droppedCount, 1L)));
    LONG copied = 0;
    ASSERT_EQ(S_OK, dropped->GetDroppedInfo(static_cast<LONG>(numbers.size()), numbers.data(), &copied));
    graph_.Stop();

    EXPECT_GE(droppedCount, 5) << "400 ms at 30 fps";
    EXPECT_EQ(640 * 480 * 3, averageSize);
    const std::vector<ReceivedFrame> frames = recorder_.Frames();
    EXPECT_LE(static_cast<LONG>(frames.size()) - 2, delivered) << "frames after the reading may still arrive";
    EXPECT_EQ(droppedCount, copied);
    numbers.resize(static_cast<size_t>(copied));
    for (const ReceivedFrame& frame : frames)
        for (LONG missed : numbers)
            EXPECT_NE(static_cast<LONG>(frame.number), missed) << "a dropped frame was delivered";
    EXPECT_EQ(E_INVALIDARG, dropped->GetDroppedInfo(0, numbers.data(), &copied));
}

TEST_F(CameraStreamTest, PausedLiveSourceCannotCueAndSendsNothing) {
    ASSERT_EQ(S_OK, graph_.Camera()->Pause());
    FILTER_STATE state = State_Stopped;
    EXPECT_EQ(VFW_S_CANT_CUE, graph_.Camera()->GetState(0, &state));
    EXPECT_EQ(State_Paused, state);
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, recorder_.Count());
    graph_.Camera()->Stop();
    EXPECT_EQ(S_OK, graph_.Camera()->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
}

TEST_F(CameraStreamTest, WithoutAClockFramesComeUntimedButPaced) {
    ComPtr<IMediaFilter> graphClock;
    ASSERT_EQ(S_OK, ComPtr<IGraphBuilder>(graph_.Graph()).As(&graphClock));
    ASSERT_EQ(S_OK, graphClock->SetSyncSource(nullptr));
    const ULONGLONG start = GetTickCount64();
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(6, 10000));
    const ULONGLONG elapsed = GetTickCount64() - start;
    graph_.Stop();
    const std::vector<ReceivedFrame> frames = recorder_.Frames();
    for (const ReceivedFrame& frame : frames) {
        EXPECT_FALSE(frame.timed);
        EXPECT_TRUE(frame.decoded);
    }
    EXPECT_GE(elapsed, 5u * 33u - 20u) << "six frames at 30 fps take five intervals";
}

TEST_F(CameraStreamTest, DeviceLostAndErrorAbortReachTheApplication) {
    ComPtr<IMediaEvent> events;
    ASSERT_EQ(S_OK, graph_.Graph()->QueryInterface(IID_IMediaEvent, &events));
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(2, 10000));

    ASSERT_EQ(S_OK, camera_.RaiseDeviceLost());
    LONG_PTR param1 = 0, param2 = -1;
    ASSERT_TRUE(WaitForEvent(events.Get(), EC_DEVICE_LOST, 3000, &param1, &param2));
    ComPtr<IUnknown> cameraIdentity;
    ASSERT_EQ(S_OK, graph_.Camera()->QueryInterface(IID_IUnknown, &cameraIdentity));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(cameraIdentity.Get()), param1) << "the camera's own identity";
    EXPECT_EQ(0, param2) << "removed";

    ASSERT_EQ(S_OK, camera_.RaiseErrorAbort(E_ACCESSDENIED));
    ASSERT_TRUE(WaitForEvent(events.Get(), EC_ERRORABORT, 3000, &param1, &param2));
    EXPECT_EQ(E_ACCESSDENIED, static_cast<HRESULT>(param1));
    graph_.Stop();

    qelcam::ScopedTestCamera unused(L"Qel Unused Camera");
    EXPECT_EQ(S_FALSE, unused.RaiseDeviceLost()) << "no live instance to raise it on";
}

}  // namespace
}  // namespace cameratest
