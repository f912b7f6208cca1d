// A recording the program could not end (the process killed mid-recording) is kept: at the next
// start the album finds it, finishes it without stalling the window, and it plays through the
// platform's AVI splitter with the frames the camera had delivered.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "album_items.h"
#include "cut_short_recording.h"
#include "answer_probe.h"
#include "plugin_testkit.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeldshow/com_ptr.h"
#include "qeltest/watchdog.h"
#include "riff_reader.h"
#include "screen_probe.h"
#include "test_frame_pattern.h"

namespace programtest {
namespace {

constexpr int kRecord = 1061, kVideoMode = 1066, kClose = 1021;

void Click(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The frames the platform's AVI splitter delivers from the file, played to its end without a clock;
// -1 when the graph could not be built or did not complete.
long FramesThroughSplitter(const std::string& path) {
    qel::ComPtr<IGraphBuilder> graph;
    if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(graph.GetAddressOf()))))
        return -1;
    const std::wstring file(path.begin(), path.end());
    qel::ComPtr<IBaseFilter> source, splitter;
    plugintest::FrameRecorder recorder;
    plugintest::RecordingEnd end;
    if (FAILED(graph->AddSourceFilter(file.c_str(), L"Source", source.GetAddressOf())) ||
        FAILED(::CoCreateInstance(CLSID_AviSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(splitter.GetAddressOf()))) ||
        FAILED(graph->AddFilter(splitter.Get(), L"AVI Splitter")) ||
        FAILED(plugintest::MakeRecordingEnd(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, &recorder, &end)) ||
        FAILED(graph->AddFilter(end.grabberFilter.Get(), L"Grabber")) ||
        FAILED(graph->AddFilter(end.renderer.Get(), L"Renderer")) ||
        FAILED(plugintest::Connect(graph.Get(), source.Get(), splitter.Get())) ||
        FAILED(plugintest::Connect(graph.Get(), splitter.Get(), end.grabberFilter.Get())) ||
        FAILED(plugintest::Connect(graph.Get(), end.grabberFilter.Get(), end.renderer.Get())))
        return -1;
    qel::ComPtr<IMediaFilter> timing;
    if (SUCCEEDED(graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(timing.GetAddressOf()))))
        timing->SetSyncSource(nullptr);
    qel::ComPtr<IMediaControl> control;
    qel::ComPtr<IMediaEvent> events;
    if (FAILED(graph.As(&control)) || FAILED(graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()))) || FAILED(control->Run()))
        return -1;
    long code = 0;
    const HRESULT waited = events->WaitForCompletion(20000, &code);
    control->Stop();
    return SUCCEEDED(waited) && code == EC_COMPLETE ? static_cast<long>(recorder.Count()) : -1;
}

using cutshort::FileBytes;
using cutshort::Finished;
using cutshort::Word;

// The whole video frames a killed recording holds: the chunks of its 'movi' list, walked from the
// list's start up to the first one the kill cut off.
uint32_t WholeFramesOnDisk(const std::string& b) {
    const size_t movi = b.substr(0, 65536).find("movi");
    if (movi == std::string::npos || movi < 8)
        return 0;
    uint32_t frames = 0;
    for (size_t at = movi + 4; at + 8 <= b.size();) {
        const uint32_t size = Word(b, at + 4);
        if (at + 8 + size > b.size())
            break;
        if (b[at + 2] == 'd' && (b[at + 3] == 'b' || b[at + 3] == 'c'))
            ++frames;
        at += 8 + size + (size & 1);
    }
    return frames;
}

class KilledRecording : public ProgramTest {
protected:
    // Records for ms, reads the camera's frame number shown just before, and kills the program.
    // The first stored frame's number and that one give the frames delivered to the recording.
    void RecordAndKill(ZentrikRun& run, DWORD ms, uint32_t* lastShown) {
        const RECT preview = PreviewOnScreen(run, 0);
        uint32_t frame = 0;
        ASSERT_TRUE(WaitForFrameNumber(run, preview, &frame, 10000)) << "no live picture";
        ASSERT_TRUE(WaitUntilSettled(run)) << "the window never settled after the start";
        Click(run.Dialog(), kRecord);
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms)
            run.Pump(50);
        ASSERT_TRUE(ReadPreviewFrameNumber(preview, lastShown)) << "no live picture while recording";
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, run.ProcessId());
        ASSERT_TRUE(process);
        ::TerminateProcess(process, 9);
        ::WaitForSingleObject(process, 10000);
        ::CloseHandle(process);
        run.WaitForExit(1000);
    }

    // The first start records for ms in its video folder and is killed; file is the recording.
    void RecordInFirstRun(ZentrikRun& first, DWORD ms, uint32_t* lastShown, std::string* file) {
        AddCamera();
        AddMicrophone();
        qeltest::Watchdog::ExtendCurrentTest(240);
        first.SetIniValue("MergeSetting", "SaveFileType", "0");
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitForMainWindow(30000));
        Click(first.Dialog(), kVideoMode);
        first.Pump(300);
        RecordAndKill(first, ms, lastShown);
        if (HasFatalFailure())
            return;
        *file = first.Folder() + "videos\\DREM0001.AVI";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(file->c_str())) << "nothing was recorded";
    }

    // Pumps run until the recording carries its RIFF size; the time it took, or -1 after ms.
    static long WaitUntilFinished(ZentrikRun& run, const std::string& file, DWORD ms) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            if (Finished(file))
                return static_cast<long>(::GetTickCount() - start);
            run.Pump(200);
        }
        return -1;
    }

    // Starts run (its folders set by the caller) and waits for it to finish the recording, then closes
    // it: the file holds exactly the frames that had reached the disk.
    static void ExpectNextStartFinishes(ZentrikRun& run, const std::string& file, uint32_t framesOnDisk) {
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitForMainWindow(30000));
        const long took = WaitUntilFinished(run, file, 60000);
        std::printf("the next start finished it %ld ms after its main window showed (hang guard 60000 ms)\n", took);
        ASSERT_GE(took, 0) << "the next start did not finish the recording";
        ::PostMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
        EXPECT_EQ(0u, run.WaitForExit(10000));
        ExpectFinishedWith(file, framesOnDisk);
    }

    // The finished recording holds exactly the frames that had reached the disk, and plays.
    static void ExpectFinishedWith(const std::string& file, uint32_t framesOnDisk) {
        std::vector<std::uint8_t> bytes;
        const rifftest::AviSummary avi = rifftest::ReadAviFile(std::wstring(file.begin(), file.end()), &bytes);
        ASSERT_TRUE(avi.riffAvi);
        EXPECT_TRUE(avi.complete);
        EXPECT_TRUE(avi.hasIndex);
        EXPECT_EQ(framesOnDisk, avi.storedFrames);
        EXPECT_EQ(framesOnDisk, avi.indexedFrames);
        EXPECT_EQ(framesOnDisk, avi.headerFrames);
        const long played = FramesThroughSplitter(file);
        std::printf("frames on the disk %u, stored %u, played %ld\n", framesOnDisk, avi.storedFrames, played);
        EXPECT_GT(played, 0) << "the finished file does not play";
    }

    void KillAfter(DWORD ms) {
        ZentrikRun first;
        uint32_t lastShown = 0;
        std::string file;
        RecordInFirstRun(first, ms, &lastShown, &file);
        if (HasFatalFailure())
            return;
        const std::string videos = first.Folder() + "videos";

        // The next start lists the folder: the file is finished by the scan, off the window's thread.
        ZentrikRun second;
        second.SetIniValue("Basic", "Image Folder", videos.c_str());
        ASSERT_TRUE(second.Start());
        ASSERT_TRUE(second.WaitForMainWindow(30000));
        HWND dialog = second.Dialog();
        ASSERT_TRUE(WaitUntilSettled(second)) << "the window never settled after the start";
        long slowest = 0;
        int unanswered = 0;
        HWND item = nullptr;
        for (int i = 0; i < 100 && !item; ++i) {
            const long took = AnswerTime(dialog, kAnswerHangGuardMs);
            took < 0 ? ++unanswered : (slowest = took > slowest ? took : slowest);
            second.Pump(100);
            item = FindItem(dialog, 8000);
        }
        ASSERT_TRUE(item) << "the recording is not in the album";
        // Repaints of the item never open the file on the window's thread.
        second.Pump(3000);
        for (int i = 0; i < 5; ++i) {
            const DWORD start = ::GetTickCount();
            ::RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            const long took = static_cast<long>(::GetTickCount() - start);
            slowest = took > slowest ? took : slowest;
            EXPECT_GE(AnswerTime(dialog, kAnswerHangGuardMs), 0) << "the window did not answer within the hang guard";
        }
        std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(second.Frame()), "zentrik_album_killed").c_str());
        std::printf("slowest answer or repaint: %ld ms (hang guard %u ms)\n", slowest, kAnswerHangGuardMs);
        EXPECT_EQ(0, unanswered);
        EXPECT_LT(slowest, static_cast<long>(kAnswerHangGuardMs)) << "a repaint hung";
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
        EXPECT_EQ(0u, second.WaitForExit(10000));

        std::vector<std::uint8_t> bytes;
        const rifftest::AviSummary avi = rifftest::ReadAviFile(std::wstring(file.begin(), file.end()), &bytes);
        ASSERT_TRUE(avi.riffAvi);
        EXPECT_TRUE(avi.complete);
        EXPECT_TRUE(avi.hasIndex);
        ASSERT_GT(avi.storedFrames, 0u);
        uint32_t firstStored = 0;
        const size_t stride = static_cast<size_t>(qelcam::Rgb24Stride(avi.width));
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[0]], avi.width, avi.height,
                                            static_cast<ptrdiff_t>(stride), &firstStored));
        ASSERT_GE(lastShown, firstStored);
        const long delivered = static_cast<long>(lastShown - firstStored) + 1;
        const long played = FramesThroughSplitter(file);
        std::printf("killed after %lu ms: delivered %ld, stored %u, played %ld\n", static_cast<unsigned long>(ms),
                    delivered, avi.storedFrames, played);
        EXPECT_GE(played * 10, delivered * 9) << "fewer than 90% of the delivered frames play";
    }

    void CloseDuringSlowRepair(bool videoFolderApart);
};

TEST_F(KilledRecording, AfterOneSecondTheNextStartKeepsItsFrames) { KillAfter(1000); }

TEST_F(KilledRecording, AfterFiveSecondsTheNextStartKeepsItsFrames) { KillAfter(5000); }

// The album lists only the image folder: a recording in a video folder of its own is finished too.
TEST_F(KilledRecording, InAVideoFolderApartTheNextStartFinishesItWithEveryFrameOnTheDisk) {
    ZentrikRun first;
    uint32_t lastShown = 0;
    std::string file;
    RecordInFirstRun(first, 5000, &lastShown, &file);
    if (HasFatalFailure())
        return;
    const uint32_t onDisk = WholeFramesOnDisk(FileBytes(file));
    ASSERT_GT(onDisk, 0u);
    ASSERT_FALSE(Finished(file));

    ZentrikRun second; // its own, empty image folder
    second.SetIniValue("Basic", "Video Folder", (first.Folder() + "videos").c_str());
    ExpectNextStartFinishes(second, file, onDisk);
}

// Close while a repair crawls through a slow drive (every read slowed on purpose): the program ends
// at once, leaves the file as it was, and the start after finishes it. The album's own folder is
// repaired while it is listed, a video folder apart after that.
void KilledRecording::CloseDuringSlowRepair(bool videoFolderApart) {
    ZentrikRun first;
    uint32_t lastShown = 0;
    std::string file;
    RecordInFirstRun(first, 5000, &lastShown, &file);
    if (HasFatalFailure())
        return;
    const std::string killed = FileBytes(file);
    const uint32_t onDisk = WholeFramesOnDisk(killed);
    ASSERT_GT(onDisk, 16u) << "too short a recording to be caught in its repair";
    const std::string videos = first.Folder() + "videos";

    ZentrikRun second;
    ASSERT_TRUE(second.UseTestBuild()); // its repair reads as slowly as the variable says
    second.SetIniValue("Basic", "Video Folder", videos.c_str());
    if (!videoFolderApart)
        second.SetIniValue("Basic", "Image Folder", videos.c_str());
    {
        // At 300 ms a read, the repair of these frames takes far longer than the test waits.
        cutshort::ScopedVariable slow(cutshort::kReadPauseVariable, "300");
        ASSERT_TRUE(second.Start());
    }
    ASSERT_TRUE(second.WaitForMainWindow(30000));
    second.Pump(2000);
    ASSERT_FALSE(Finished(file)) << "the slowed repair was already done";
    const DWORD closed = ::GetTickCount();
    ::PostMessageA(second.Dialog(), WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
    const DWORD exitCode = second.WaitForExit(10000);
    const DWORD took = ::GetTickCount() - closed;
    std::printf("the program ended %lu ms after Close during the repair (hang guard 10000 ms)\n",
                static_cast<unsigned long>(took));
    EXPECT_EQ(0u, exitCode) << "the program did not end within 10 s of Close";
    EXPECT_EQ(killed, FileBytes(file)) << "the stopped repair changed the file";

    ZentrikRun third;
    third.SetIniValue("Basic", "Video Folder", videos.c_str());
    if (!videoFolderApart)
        third.SetIniValue("Basic", "Image Folder", videos.c_str());
    ExpectNextStartFinishes(third, file, onDisk);
}

TEST_F(KilledRecording, CloseDuringASlowRepairInTheAlbumFolderEndsTheProgramAndTheNextStartFinishesIt) {
    CloseDuringSlowRepair(false);
}

TEST_F(KilledRecording, CloseDuringASlowRepairInAVideoFolderApartEndsTheProgramAndTheNextStartFinishesIt) {
    CloseDuringSlowRepair(true);
}

} // namespace
} // namespace programtest
