// A held camera: every frame shows the picture of one frame number while the frames keep their pace
// and times; two held numbers differ enough for the program's motion detector, one number does not.
#include <gtest/gtest.h>

#include "MotionDetector.h"
#include "camera_test_support.h"
#include "qeltest/pump.h"
#include "test_frame_pattern.h"

namespace cameratest {
namespace {

const REFERENCE_TIME kInterval = 333333;

class CameraHoldTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_EQ(S_OK, camera_.Result());
        ASSERT_EQ(S_OK, graph_.Build(camera_.Name(), &recorder_));
    }

    // The index of the first frame received from `from` on that shows `number`, or -1.
    long WaitForNumber(uint32_t number, size_t from = 0) {
        long found = -1;
        qeltest::PumpUntil(
            [&] {
                const std::vector<ReceivedFrame> frames = recorder_.Frames();
                for (size_t i = from; i < frames.size(); ++i)
                    if (frames[i].decoded && frames[i].number == number)
                        return (found = static_cast<long>(i)) >= 0;
                return false;
            },
            10000);
        return found;
    }

    // The last picture once it shows `number`.
    std::vector<uint8_t> PictureOf(uint32_t number) {
        std::vector<uint8_t> picture;
        uint32_t shown = 0;
        qeltest::PumpUntil(
            [&] {
                picture = recorder_.LastPicture();
                return !picture.empty() &&
                       qelcam::ReadFrameNumber(picture.data(), graph_.Width(), graph_.Height(),
                                               qelcam::Rgb24Stride(graph_.Width()), &shown) &&
                       shown == number;
            },
            10000);
        return shown == number ? picture : std::vector<uint8_t>();
    }

    qelcam::ScopedTestCamera camera_{L"Qel Hold Camera", qelcam::kCaptureOnly};
    FrameRecorder recorder_;
    CaptureGraph graph_;
};

TEST_F(CameraHoldTest, HeldFramesShowOneNumberAtTheNormalPaceAndTimes) {
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_TRUE(recorder_.WaitForCount(2, 10000));
    ASSERT_EQ(S_OK, camera_.HoldFrame(4242));
    const long first = WaitForNumber(4242);
    ASSERT_GE(first, 0);
    ASSERT_TRUE(recorder_.WaitForCount(static_cast<size_t>(first) + 8, 10000));

    std::vector<ReceivedFrame> frames = recorder_.Frames();
    for (size_t i = static_cast<size_t>(first); i < frames.size(); ++i) {
        ASSERT_TRUE(frames[i].decoded) << "frame " << i;
        EXPECT_EQ(4242u, frames[i].number) << "frame " << i;
        ASSERT_TRUE(frames[i].timed);
        EXPECT_EQ(frames[i].start + kInterval, frames[i].stop);
        if (i > 0) {
            // One interval apart, or whole intervals when downstream made the camera late.
            const REFERENCE_TIME step = frames[i].start - frames[i - 1].start;
            EXPECT_GT(step, 0);
            EXPECT_EQ(0, step % kInterval) << "frame " << i;
            EXPECT_GT(frames[i].mediaStart, frames[i - 1].mediaStart);
        }
    }

    ASSERT_EQ(S_OK, camera_.ReleaseHold());
    const size_t held = recorder_.Count();
    ASSERT_TRUE(recorder_.WaitForCount(held + 4, 10000));
    graph_.Stop();
    frames = recorder_.Frames();
    // Released, the picture follows the stream's own frame numbers again.
    const ReceivedFrame& last = frames.back();
    ASSERT_TRUE(last.decoded);
    EXPECT_NE(4242u, last.number);
    EXPECT_EQ(static_cast<REFERENCE_TIME>(last.number) * kInterval, last.start);
}

TEST_F(CameraHoldTest, TwoHeldNumbersDifferForTheMotionDetectorAndOneDoesNot) {
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_EQ(S_OK, camera_.HoldFrame(100));
    const std::vector<uint8_t> reference = PictureOf(100);
    ASSERT_FALSE(reference.empty());
    const size_t seen = recorder_.Count();
    ASSERT_TRUE(recorder_.WaitForCount(seen + 2, 10000));
    const std::vector<uint8_t> again = PictureOf(100);
    ASSERT_FALSE(again.empty());
    ASSERT_EQ(S_OK, camera_.HoldFrame(101));
    const std::vector<uint8_t> next = PictureOf(101);
    ASSERT_FALSE(next.empty());
    graph_.Stop();

    // As the capture panel's motion watch sets it up: a 2 x 2 grid, all watched, sensitivity 50.
    const int width = graph_.Width(), height = std::abs(graph_.Height());
    const int row = MD_FrameRowLength(width);
    const std::uint32_t cells[4] = {1, 1, 1, 1};
    MD_Reset();
    ASSERT_EQ(kMdOk, MD_Init(2, cells, width, height, row, 50));
    int moved = -1;
    ASSERT_EQ(kMdOk, MD_Detect(reference.data(), width, height, row, &moved));
    ASSERT_EQ(kMdOk, MD_Detect(again.data(), width, height, row, &moved));
    EXPECT_EQ(0, moved) << "one held number is a still picture";
    ASSERT_EQ(kMdOk, MD_Detect(next.data(), width, height, row, &moved));
    EXPECT_EQ(1, moved) << "neighbouring held numbers are motion";
    MD_Reset();
}

TEST_F(CameraHoldTest, HoldTakesEveryNumberThePictureCarriesAndNoOther) {
    EXPECT_EQ(E_INVALIDARG, camera_.HoldFrame(-1));
    EXPECT_EQ(E_INVALIDARG, camera_.HoldFrame(0x100000000LL));
    ASSERT_EQ(S_OK, graph_.Run());
    ASSERT_EQ(S_OK, camera_.HoldFrame(0xFFFFFFFFLL));
    EXPECT_GE(WaitForNumber(0xFFFFFFFFu), 0);
    ASSERT_EQ(S_OK, camera_.HoldFrame(0));
    // Frame 0 is shown only at the very start otherwise: well past it, only the hold shows it.
    EXPECT_GE(WaitForNumber(0, recorder_.Count()), 0);
    graph_.Stop();
}

TEST_F(CameraHoldTest, HoldSetWithoutALiveCameraAppliesToTheNextOne) {
    qelcam::ScopedTestCamera idle(L"Qel Idle Hold Camera", qelcam::kCaptureOnly);
    ASSERT_EQ(S_OK, idle.Result());
    EXPECT_EQ(S_FALSE, idle.HoldFrame(5)) << "no live instance yet";
    FrameRecorder recorder;
    CaptureGraph graph;
    ASSERT_EQ(S_OK, graph.Build(idle.Name(), &recorder));
    ASSERT_EQ(S_OK, graph.Run());
    ASSERT_TRUE(recorder.WaitForCount(3, 10000));
    EXPECT_EQ(S_OK, idle.ReleaseHold());
    graph.Stop();
    const std::vector<ReceivedFrame> frames = recorder.Frames();
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(frames[i].decoded);
        EXPECT_EQ(5u, frames[i].number) << "frame " << i;
    }
}

}  // namespace
}  // namespace cameratest
