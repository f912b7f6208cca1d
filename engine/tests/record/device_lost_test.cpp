// Recordings ended by the camera's loss, many times over: each leaves a complete AVI holding exactly
// the frames the engine counted, as a stop by the user does, or, lost before its first frame, no file.
#include "record_fixture.h"

#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

#include <string>

namespace recordtest {
namespace {

using DeviceLostTest = RecordTest;

TEST_F(DeviceLostTest, EveryRecordingEndedByALostCameraIsCompleteWithTheFramesCounted) {
    constexpr int kRecordings = 50;
    qeltest::Watchdog::ExtendCurrentTest(kRecordings * 6);
    engine->SetRecordFileType(RECORD_AVI);
    for (int run = 0; run < kRecordings; ++run) {
        SCOPED_TRACE("recording " + std::to_string(run));
        const std::wstring file = FileIn("lost" + std::to_string(run) + ".avi");
        ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
        // Every fourth camera is lost before its first frame, the others after one to three.
        const int framesBefore = run % 4;
        ASSERT_EQ(S_OK, SetCamerasDelivering(framesBefore > 0));
        int status = -1;
        ASSERT_TRUE(engine->StartCapture(&status));
        if (framesBefore) {
            ASSERT_TRUE(WaitForFrames(framesBefore));
        }
        ASSERT_EQ(S_OK, RaiseCameraEvent(EC_DEVICE_LOST, 0));
        ASSERT_TRUE(qeltest::PumpUntil([&] { return TimesHostHeard(WM_LIVECAP_DEVICELOST) == run + 1; }, 10000));
        EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
        const int delivered = FramesOfLastCapture();
        if (framesBefore == 0) {
            EXPECT_EQ(0, delivered);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file.c_str())) << "a recording without frames";
        } else {
            EXPECT_GE(delivered, framesBefore);
            ASSERT_NO_FATAL_FAILURE(ExpectWholeRecording(file, delivered, true));
        }
        DeleteFileW(file.c_str());
        // The camera comes back when it is chosen again.
        ASSERT_EQ(S_OK, SetCamerasDelivering(true));
        UINT index = 99;
        ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, kCamera, &index));
        ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    }
}

} // namespace
} // namespace recordtest
