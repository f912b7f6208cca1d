// Opening and closing the same clip many times leaves the process as it was: handles (seen in the
// value of a new event handle, as Wine hands out the lowest free slot), threads and committed memory.
#include <windows.h>

#include "reader_fixture.h"
#include "qeltest/audio_device_lock.h"
#include "qeltest/process_counts.h"
#include "qeltest/watchdog.h"

namespace {

using qeltest::CommittedBytes;
using qeltest::NextHandleSlot;
using qeltest::ThreadCount;

class ReaderCyclesTest : public readertest::ReaderTest {};

TEST_F(ReaderCyclesTest, FiftyOpensAndClosesLeaveHandlesThreadsAndMemoryFlat) {
    qeltest::Watchdog::ExtendCurrentTest(240);
    const std::string clip = MakeClip("av.avi", readertest::ClipSpec(true));
    auto cycle = [&] {
        // The sound device is taken per cycle: other test programs wait for it no longer than one open.
        qeltest::ScopedAudioDeviceLock audioDevice;
        qel::ComPtr<IMediaFrameReader> reader = readertest::NewReader();
        ASSERT_EQ(S_OK, reader->OpenFile(clip.c_str()));
        readertest::GlobalBlock frame;
        ASSERT_EQ(S_OK, reader->ReadVideoFrame(-3, frame.Out()));
        HGLOBAL data = nullptr;
        LONG bytes = 0;
        ASSERT_EQ(S_OK, reader->ReadAudioData(0.5, 1.0, &data, &bytes));
        GlobalFree(data);
    };
    // A few rounds first: the platform keeps some things of its own after the first graphs.
    for (int i = 0; i < 5; ++i)
        cycle();
    Sleep(200);
    const uintptr_t handlesBefore = NextHandleSlot();
    const int threadsBefore = ThreadCount();
    const SIZE_T memoryBefore = CommittedBytes();
    for (int i = 0; i < 50; ++i)
        cycle();
    Sleep(200);
    // The platform itself leaks one event per filter graph, two graphs an open; handle values step by 4.
    const uintptr_t platformLeak = 4 * 2 * 50;
    EXPECT_LE(NextHandleSlot(), handlesBefore + platformLeak + 16) << "handles grew beyond the platform's own leak";
    EXPECT_LE(ThreadCount(), threadsBefore + 2) << "threads grew";
    EXPECT_LE(CommittedBytes(), memoryBefore + 8 * 1024 * 1024) << "memory grew";
}

} // namespace
