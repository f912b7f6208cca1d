// Frames named by their pixels: by index (again, forwards by up to ten, backwards), by time, past the
// end, and on a clip that the Windows Media source reads.
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>

#include "reader_fixture.h"
#include "qeltest/watchdog.h"

namespace {

using readertest::ClipSpec;
using readertest::CompareFrameBlock;
using readertest::GlobalBlock;

class ReaderFramesTest : public readertest::ReaderTest {
protected:
    // Reads frame `index` and checks that the block shows `shown`; returns the result code.
    HRESULT ExpectIndex(int index, int shown) {
        GlobalBlock frame;
        const HRESULT hr = reader_->ReadVideoFrame(-index, frame.Out());
        EXPECT_EQ("", CompareFrameBlock(frame.Get(), shown, 64, 48)) << "index " << index;
        return hr;
    }
};

TEST_F(ReaderFramesTest, IndexesAgainForwardAndBackward) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    EXPECT_EQ(S_OK, ExpectIndex(5, 5));
    EXPECT_EQ(S_OK, ExpectIndex(5, 5)) << "the same index twice comes from the buffer";
    for (int index = 6; index <= 15; ++index)
        EXPECT_EQ(S_OK, ExpectIndex(index, index));
    EXPECT_EQ(S_OK, ExpectIndex(25, 25)) << "ten ahead and more is a seek";
    EXPECT_EQ(S_OK, ExpectIndex(2, 2)) << "backwards";
    EXPECT_EQ(S_OK, ExpectIndex(0, 0));
    EXPECT_EQ(S_OK, ExpectIndex(29, 29)) << "the last frame by index";
}

// The sought frame's sample leaves the gate before the reader has gone on from starting the graph:
// the sample after it must wait at the gate for the next read, not slip by unread.
TEST_F(ReaderFramesTest, ForwardReadsStayExactWhenTheSoughtSampleOutrunsTheReader) {
    qeltest::Watchdog::ExtendCurrentTest(90);
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    readertest::GateWatch watch(true);
    // Each seek starts from a settled stream (a sample parked after the last read), so that what
    // reaches the gate after the mark belongs to the seek.
    size_t mark = watch.Mark();
    EXPECT_EQ(S_OK, ExpectIndex(5, 5)) << "a seek";
    EXPECT_EQ(1, watch.Released()) << "the sought sample left the gate while the reader was held";
    EXPECT_EQ("taken parked", watch.AwaitOutcomes(2, mark)) << "the sought sample, then the one after it; "
                                                            << watch.Described();
    EXPECT_EQ(S_OK, ExpectIndex(5, 5)) << "the same index again, from the buffer";
    for (int index = 6; index <= 12; ++index)
        EXPECT_EQ(S_OK, ExpectIndex(index, index));

    EXPECT_TRUE(watch.AwaitParked()) << watch.Described();
    mark = watch.Mark();
    EXPECT_EQ(S_OK, ExpectIndex(24, 24)) << "a seek forwards";
    EXPECT_EQ(2, watch.Released());
    EXPECT_EQ("taken parked", watch.AwaitOutcomes(2, mark)) << watch.Described();
    for (int index = 25; index <= 27; ++index)
        EXPECT_EQ(S_OK, ExpectIndex(index, index));

    // A reposition lets the parked sample go with none parked after it; the read after it seeks.
    EXPECT_TRUE(watch.AwaitParked()) << watch.Described();
    EXPECT_EQ(S_OK, reader_->put_CurrentPosition(1.0, READER_STREAM_VIDEO));
    mark = watch.Mark();
    EXPECT_EQ(S_OK, ExpectIndex(3, 3)) << "a seek after a reposition";
    EXPECT_EQ(3, watch.Released());
    EXPECT_EQ("taken parked", watch.AwaitOutcomes(2, mark)) << watch.Described();
    for (int index = 4; index <= 8; ++index)
        EXPECT_EQ(S_OK, ExpectIndex(index, index));
    EXPECT_EQ(S_OK, ExpectIndex(12, 12)) << "four ahead: the samples between are passed over";
    EXPECT_EQ(S_OK, ExpectIndex(13, 13));
    EXPECT_EQ(3, watch.Held()) << "only the seeks ran the graph";
    EXPECT_EQ(std::string::npos, watch.Outcomes().find("unread")) << watch.Described();
}

TEST_F(ReaderFramesTest, TimesGiveTheFrameShownAtThatTime) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(true)).c_str()));
    GlobalBlock frame;
    EXPECT_EQ(S_OK, reader_->ReadVideoFrame(1.25, frame.Out()));
    EXPECT_EQ("", CompareFrameBlock(frame.Get(), 12, 64, 48));
    EXPECT_EQ(S_OK, reader_->ReadVideoFrame(0.05, frame.Out()));
    EXPECT_EQ("", CompareFrameBlock(frame.Get(), 0, 64, 48));
    EXPECT_EQ(S_OK, reader_->ReadVideoFrame(2.0, frame.Out()));
    EXPECT_EQ("", CompareFrameBlock(frame.Get(), 20, 64, 48));
    EXPECT_EQ(S_OK, ExpectIndex(21, 21)) << "an index after a time read";
}

TEST_F(ReaderFramesTest, PastTheEndGivesTheLastFrameThenEndOfStream) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    EXPECT_EQ(S_OK, ExpectIndex(40, 29)) << "the first read past the end reads the last frame";
    EXPECT_EQ(ERROR_HANDLE_EOF, ExpectIndex(41, 29)) << "further reads say so, with the same frame";
    EXPECT_EQ(ERROR_HANDLE_EOF, ExpectIndex(100, 29));
    EXPECT_EQ(S_OK, ExpectIndex(3, 3)) << "reading inside the clip again";
    GlobalBlock frame;
    EXPECT_EQ(S_OK, reader_->ReadVideoFrame(30.0, frame.Out())) << "a time past the end is the duration";
    EXPECT_EQ("", CompareFrameBlock(frame.Get(), 29, 64, 48));
}

TEST_F(ReaderFramesTest, AClipReadByTheWindowsMediaSource) {
    qeltest::Watchdog::ExtendCurrentTest(90);
    const std::string clip = MakeClip("clip.wmv", ClipSpec(false));
    const HRESULT opened = reader_->OpenFile(clip.c_str());
    if (opened == E_FAIL || opened == STG_E_SEEKERROR)
        GTEST_SKIP() << "this Wine's Windows Media source cannot seek the clip (0x" << std::hex << opened << ")";
    ASSERT_EQ(S_OK, opened) << std::hex << opened;
    int kind = 0;
    EXPECT_EQ(S_OK, reader_->GetFileType(&kind));
    EXPECT_EQ(READER_KIND_WINDOWS_MEDIA, kind);
    // The parked first sample, the same index again, then the running source frame by frame.
    for (int index : {0, 0, 1, 2, 3, 4, 5})
        EXPECT_EQ(S_OK, ExpectIndex(index, index));
    EXPECT_EQ(S_OK, ExpectIndex(40, 29)) << "past the end: the last frame";
    EXPECT_EQ(ERROR_HANDLE_EOF, ExpectIndex(40, 29));
    // Reads that seek are left out: this Wine's Windows Media source accepts a seek on a stopped
    // graph and then plays from the beginning all the same.
}

// A guard against a call that never comes back, far above the moment these calls take.
constexpr DWORD kHangGuardMs = 10000;

// Runs call on a thread of its own; its result. A call that is still running at the hang guard fails
// the test, and is still waited for: the thread must not go on using the reader after the fixture has
// released it (a call that truly hangs is ended with the process by the test's watchdog).
HRESULT CallWithHangGuard(const char* what, const std::function<HRESULT()>& call) {
    std::packaged_task<HRESULT()> task(call);
    std::future<HRESULT> result = task.get_future();
    std::thread caller(std::move(task));
    const DWORD started = GetTickCount();
    if (result.wait_for(std::chrono::milliseconds(kHangGuardMs)) != std::future_status::ready)
        ADD_FAILURE() << what << " did not come back within the hang guard of " << kHangGuardMs << " ms";
    caller.join();
    std::printf("%s came back after %lu ms\n", what, static_cast<unsigned long>(GetTickCount() - started));
    return result.get();
}

TEST_F(ReaderFramesTest, RepositioningAfterAnIndexReadComesBack) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    IMediaFrameReader* reader = reader_.Get();
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(S_OK, ExpectIndex(3, 3)) << "round " << round;
        EXPECT_EQ(S_OK, CallWithHangGuard("put_CurrentPosition", [reader] {
            return reader->put_CurrentPosition(1.0, READER_STREAM_VIDEO);
        })) << "round " << round;
    }
    EXPECT_EQ(S_OK, ExpectIndex(12, 12)) << "reading on after the last reposition";
}

TEST_F(ReaderFramesTest, RateAndStopTimeChangesAfterAnIndexReadComeBackAndKeepTheFrames) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    IMediaFrameReader* reader = reader_.Get();
    EXPECT_EQ(S_OK, ExpectIndex(3, 3));
    EXPECT_EQ(S_OK, CallWithHangGuard("put_Rate", [reader] { return reader->put_Rate(1.0, READER_STREAM_VIDEO); }));
    EXPECT_EQ(S_OK, ExpectIndex(4, 4)) << "the next frame after a rate change";
    EXPECT_EQ(S_OK,
              CallWithHangGuard("put_StopTime", [reader] { return reader->put_StopTime(2.5, READER_STREAM_VIDEO); }));
    EXPECT_EQ(S_OK, ExpectIndex(5, 5)) << "the next frame after a stop time change";
}

TEST_F(ReaderFramesTest, TheSameIndexAgainAtOnceGivesItsOwnFrameFromTheWindowsMediaSource) {
    qeltest::Watchdog::ExtendCurrentTest(90);
    const HRESULT opened = reader_->OpenFile(MakeClip("clip.wmv", ClipSpec(false)).c_str());
    if (opened == E_FAIL || opened == STG_E_SEEKERROR)
        GTEST_SKIP() << "this Wine's Windows Media source cannot seek the clip (0x" << std::hex << opened
                     << ")";
    ASSERT_EQ(S_OK, opened) << std::hex << opened;
    // Each read straight after the one before: the next sample may still be on its way.
    for (int index : {0, 1, 1, 2, 2, 3, 3})
        EXPECT_EQ(S_OK, ExpectIndex(index, index));
}

TEST_F(ReaderFramesTest, ANullOutputIsRefused) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("clip.avi", ClipSpec(false)).c_str()));
    EXPECT_EQ(E_POINTER, reader_->ReadVideoFrame(-1, nullptr));
}

} // namespace
