// The repair of recordings cut short as the scan runs it on real files: a file it gave up on is not
// tried again in the same run, a set stop event leaves a folder's files as they were, and a scan
// that its stopper no longer waits for ends on its own without the receiver it had.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <string>

#include "AlbumScanJob.h"
#include "RecordingRecovery.h"
#include "album_folder.h"
#include "AlbumTestSeams.h"
#include "cut_short_recording.h"

namespace {

// The repair's reads slowed for the object's life, as a slow drive would slow them.
class ScopedRepairReadPause {
public:
    explicit ScopedRepairReadPause(DWORD ms) { SetRepairReadPause(ms); }
    ~ScopedRepairReadPause() { SetRepairReadPause(0); }
    ScopedRepairReadPause(const ScopedRepairReadPause&) = delete;
    ScopedRepairReadPause& operator=(const ScopedRepairReadPause&) = delete;
};

using cutshort::FileBytes;
using cutshort::Marked;
using cutshort::Recording;

// Whether some handle keeps writers out of the file (the repair lets only readers in).
bool HeldAlone(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Waits up to ms for held(path) to become want; false when it did not.
bool WaitForHeld(const std::string& path, bool want, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (HeldAlone(path) != want) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(20);
    }
    return true;
}

TEST(RecordingRepair, AFileGivenUpOnIsNotTriedAgainInTheSameRunAndAFinishedOneIsLeftAlone) {
    AlbumFolder folder("repair_given_up");
    const std::string empty = folder.Write("NOFRAME.AVI", Recording(0, 50), 0);
    EXPECT_EQ(kRepairGaveUp, FinishCutShortRecording(empty.c_str(), nullptr));
    // Held by another handle now: a second try would find it in use, but it is not tried at all.
    HANDLE holder = ::CreateFileA(empty.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(kRepairGaveUp, FinishCutShortRecording(empty.c_str(), nullptr));
    ::CloseHandle(holder);
    EXPECT_EQ(Recording(0, 50), FileBytes(empty));

    // A writer that lets readers in, as the file sink opens its recording: still being written.
    const std::string clip = folder.Write("CLIP.AVI", Recording(6, 30), 0);
    holder = ::CreateFileA(clip.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(kRepairInUse, FinishCutShortRecording(clip.c_str(), nullptr)) << "a recording still being written";
    ::CloseHandle(holder);
    // A reader that lets writers in (a thumbnail, a look at the file) does not keep the repair out.
    holder = ::CreateFileA(clip.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(kRepairFinished, FinishCutShortRecording(clip.c_str(), nullptr));
    ::CloseHandle(holder);
    EXPECT_FALSE(Marked(clip));
    EXPECT_EQ(kRepairNotMarked, FinishCutShortRecording(clip.c_str(), nullptr));
}

TEST(RecordingRepair, ASetStopEventLeavesTheFolderAsItWasAndALaterRunFinishesIt) {
    AlbumFolder folder("repair_stopped");
    const std::string killed = Recording(40, 10);
    const std::string clip = folder.Write("CUT.AVI", killed, 0);
    HANDLE stop = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(nullptr, stop);
    EXPECT_FALSE(FinishCutShortRecordingsIn(folder.Dir().c_str(), stop));
    EXPECT_EQ(killed, FileBytes(clip));
    ::ResetEvent(stop);
    EXPECT_TRUE(FinishCutShortRecordingsIn(folder.Dir().c_str(), stop));
    EXPECT_FALSE(Marked(clip));
    ::CloseHandle(stop);
}

TEST(ScanJob, AStopperWaitsAMomentAndTheScanItLeftEndsOnItsOwnWithTheFileStillMarked) {
    AlbumFolder folder("repair_abandoned");
    const std::string killed = Recording(200, 0);
    const std::string clip = folder.Write("SLOW.AVI", killed, 0);
    CWnd receiver;
    ASSERT_TRUE(receiver.CreateEx(0, nullptr, "scan receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CAlbumScanJob::Setup setup;
    setup.imageFolder = folder.Dir().c_str();
    setup.videoFolder = folder.Dir().c_str();
    setup.receiver = receiver.m_hWnd;
    CAlbumScanJob* job = nullptr;
    {
        ScopedRepairReadPause slow(300); // a drive that takes 300 ms a read
        job = CAlbumScanJob::Start(setup);
        ASSERT_NE(nullptr, job);
        ASSERT_TRUE(WaitForHeld(clip, true, 10000)) << "the repair did not start within 10 s";
        EXPECT_FALSE(job->Stop(100)) << "the scan ended while a read was slowed";
        job->Release();
        receiver.DestroyWindow(); // the dialog goes while the scan still runs
    }
    const DWORD stopped = ::GetTickCount();
    ASSERT_TRUE(WaitForHeld(clip, false, 20000)) << "the repair never let go of the file (hang guard 20 s)";
    std::printf("the left scan let go of the file %lu ms after the stop\n",
                static_cast<unsigned long>(::GetTickCount() - stopped));
    EXPECT_EQ(killed, FileBytes(clip)) << "the stopped repair changed the file";
    EXPECT_EQ(kRepairFinished, FinishCutShortRecording(clip.c_str(), nullptr));
}

} // namespace
