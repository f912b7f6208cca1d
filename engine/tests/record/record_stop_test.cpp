// Stopping recordings while frames are on their way into the file: many short recordings at the
// camera's fastest rate, stopped at once or after a few frames. Each must end as a whole file that
// holds exactly the frames the engine counted, in the camera's order, and no stop may reach the host
// as an aborted capture.
#include "record_fixture.h"
#include "riff_reader.h"

#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

#include <string>

namespace recordtest {
namespace {

TEST_F(RecordTest, ShortRecordingsStoppedWhileFramesArriveEachHoldEveryCountedFrame) {
    qeltest::Watchdog::ExtendCurrentTest(120);
    _LiteCapVideoInfo format = {};
    ASSERT_TRUE(engine->GetVideoInfo(&format));
    format.nWidth = 320;
    format.nHeight = 240;
    format.nFrameRate = 30;
    ASSERT_TRUE(engine->SetVideoFormat(&format));
    engine->SetRecordFileType(RECORD_AVI_NOAUDIO);

    // Every fourth clip stops at once (its first frame may be in flight), the others after one to
    // three counted frames.
    for (int clip = 0; clip < 12; ++clip) {
        SCOPED_TRACE("clip " + std::to_string(clip));
        const std::wstring file = FileIn("short" + std::to_string(clip) + ".avi");
        ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
        int status = -1;
        ASSERT_TRUE(engine->StartCapture(&status));
        if (clip % 4 != 0) {
            ASSERT_TRUE(WaitForFrames(clip % 4));
        }
        ASSERT_TRUE(engine->StopCapture());
        ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
        const int counted = FramesOfLastCapture();
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            // Only a recording without a frame in its file is removed: none may have been counted.
            EXPECT_EQ(0, counted) << "a recording with counted frames was removed";
            continue;
        }
        if (counted == 0) {
            // The file is the judge: one kept while the counters said 0 holds a frame, whole.
            const rifftest::AviSummary avi = rifftest::ReadAviFile(file);
            EXPECT_TRUE(avi.complete);
            EXPECT_GT(avi.storedFrames, 0u) << "a recording without a frame was kept";
            continue;
        }
        ExpectWholeRecording(file, counted, true);
        if (HasFailure())
            break;
    }
    // Graph events of the stops arrive through the message queue.
    qeltest::PumpMessagesFor(200);
    EXPECT_EQ(0, TimesHostHeard(WM_LIVECAP_ERRORABORT));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(UnexpectedBoxes().empty());
}

} // namespace
} // namespace recordtest
