// The paced frame grabber's gate on its own, fed by a streaming thread of the test's: which samples
// it lets through, and that a read's frame stays the one it was armed for.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "GrabberCallbacks.h"
#include "Win32Handle.h"
#include "reader_fixture.h"

namespace {

constexpr long kWidth = 2;
constexpr long kHeight = 2;
constexpr long kFrameBytes = 12; // 2x2 RGB24, rows already a multiple of four bytes

// A sample's bytes, all of one value named by its time, so that a taken frame names its sample.
std::vector<BYTE> SampleBytes(double time) {
    return std::vector<BYTE>(kFrameBytes, static_cast<BYTE>(time * 10 + 0.5));
}

// The value the grabber's frame shows, or -1 without one.
int FrameValue(CFrameGrabberCallback& grabber) {
    readertest::GlobalBlock block;
    *block.Out() = grabber.MakeFrameBlock();
    const std::vector<BYTE> bytes = block.Bytes();
    return bytes.size() == sizeof(BITMAPINFOHEADER) + kFrameBytes ? bytes.back() : -1;
}

class FrameGrabberGateTest : public ::testing::Test {
protected:
    void SetUp() override {
        grabber_.SetEvents(arrived_.Get(), copied_.Get());
        grabber_.SetFrameSize(kWidth, kHeight);
    }
    void TearDown() override {
        // A cleared pace lets a parked sample go, so the streaming thread always comes back.
        grabber_.SetArmed(false);
        grabber_.SetPaced(false);
        grabber_.Wake();
        if (streaming_.joinable())
            streaming_.join();
        grabber_.SetEvents(nullptr, nullptr);
    }

    // Delivers the samples one after the other on a thread of its own, as a graph's streaming thread.
    void Stream(std::vector<double> times) {
        streaming_ = std::thread([this, times] {
            for (double time : times) {
                std::vector<BYTE> bytes = SampleBytes(time);
                grabber_.BufferCB(time, bytes.data(), static_cast<long>(bytes.size()));
            }
        });
    }

    // True once the grabber signalled a copied frame within the hang guard.
    bool FrameCopied() {
        const DWORD started = GetTickCount();
        const bool copied = WaitForSingleObject(copied_.Get(), readertest::kGateGuardMs) == WAIT_OBJECT_0;
        std::printf("figure: frame copied after %lu ms (guard %lu ms)\n",
                    static_cast<unsigned long>(GetTickCount() - started),
                    static_cast<unsigned long>(readertest::kGateGuardMs));
        return copied;
    }

    CFrameGrabberCallback grabber_;
    EventHandle arrived_;
    EventHandle copied_;
    std::thread streaming_;
};

// A state change wakes the gate whether or not a sample is parked there; a wake with none parked must
// not let the next sample through unread.
TEST_F(FrameGrabberGateTest, AWakeWithNothingParkedLetsNoSampleThrough) {
    readertest::GateWatch watch;
    grabber_.SetPaced(true);
    grabber_.Wake();
    Stream({0.5, 0.6});
    EXPECT_EQ("parked", watch.AwaitOutcomes(1)) << "no read is armed for the first sample";
    grabber_.SetArmed(true);
    grabber_.Wake();
    ASSERT_TRUE(FrameCopied());
    EXPECT_EQ(5, FrameValue(grabber_)) << "the read takes the sample that waited for it";
    EXPECT_DOUBLE_EQ(0.5, grabber_.BufferedTime());
    EXPECT_EQ("parked taken parked", watch.AwaitOutcomes(3));
    EXPECT_DOUBLE_EQ(0.6, grabber_.LastSampleTime());
}

// The reader wakes the gate again after its frame was taken (a late wake, as on a busy machine) and
// disarms only later: the frame stays the one taken, and the sample after it waits for the next read.
TEST_F(FrameGrabberGateTest, ATakenFrameDisarmsTheGateBeforeTheReaderComesBack) {
    readertest::GateWatch watch;
    grabber_.SetPaced(true);
    grabber_.SetArmed(true);
    grabber_.Wake();
    Stream({0.5, 0.6, 0.7});
    ASSERT_TRUE(FrameCopied());
    grabber_.Wake();
    EXPECT_EQ("taken parked", watch.AwaitOutcomes(2));
    EXPECT_EQ(5, FrameValue(grabber_));
    grabber_.SetArmed(false);

    grabber_.SetArmed(true);
    grabber_.Wake();
    ASSERT_TRUE(FrameCopied());
    EXPECT_EQ(6, FrameValue(grabber_)) << "the next read takes the next sample";
    EXPECT_EQ("taken parked taken parked", watch.AwaitOutcomes(4));
}

// A read a few frames ahead: the parked sample and those after it are passed over up to its frame.
TEST_F(FrameGrabberGateTest, SkippedSamplesLeadToTheFrameAsked) {
    readertest::GateWatch watch;
    grabber_.SetPaced(true);
    Stream({0.5, 0.6, 0.7, 0.8});
    EXPECT_EQ("parked", watch.AwaitOutcomes(1));
    grabber_.SetSkip(2);
    grabber_.SetArmed(true);
    grabber_.Wake();
    ASSERT_TRUE(FrameCopied());
    EXPECT_EQ(7, FrameValue(grabber_));
    // 0.6 is passed over before it reaches the gate, so it is not among the outcomes.
    EXPECT_EQ("parked skipped taken parked", watch.AwaitOutcomes(4));
}

// Clearing the pace lets a parked sample go without a read taking it (the reader gives its place up).
TEST_F(FrameGrabberGateTest, ClearingThePaceReleasesAParkedSample) {
    readertest::GateWatch watch;
    grabber_.SetPaced(true);
    Stream({0.5});
    EXPECT_EQ("parked", watch.AwaitOutcomes(1));
    grabber_.SetPaced(false);
    grabber_.Wake();
    streaming_.join();
    EXPECT_FALSE(grabber_.HasFrame());
    EXPECT_EQ("parked", watch.Outcomes()) << "a sample the pace let go is not reported again";
}

} // namespace
