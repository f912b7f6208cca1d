// A recording the program could not end (the process killed mid-recording) is kept: at the next
// start the album finds it, finishes it without stalling the window, and it plays through the
// platform's AVI splitter with the frames the camera had delivered.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <cstdlib>
#include <string>

#include "album_items.h"
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

    void KillAfter(DWORD ms) {
        AddCamera();
        AddMicrophone();
        qeltest::Watchdog::ExtendCurrentTest(150);
        ZentrikRun first;
        first.SetIniValue("MergeSetting", "SaveFileType", "0");
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitForMainWindow(30000));
        Click(first.Dialog(), kVideoMode);
        first.Pump(300);
        uint32_t lastShown = 0;
        RecordAndKill(first, ms, &lastShown);
        if (HasFatalFailure())
            return;
        const std::string videos = first.Folder() + "videos";
        const std::string file = videos + "\\DREM0001.AVI";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(file.c_str())) << "nothing was recorded";

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
            const long took = AnswerTime(dialog, 1000);
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
            EXPECT_GE(AnswerTime(dialog, 1000), 0);
        }
        std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(second.Frame()), "zentrik_album_killed").c_str());
        std::printf("slowest answer or repaint: %ld ms\n", slowest);
        EXPECT_EQ(0, unanswered);
        EXPECT_LT(slowest, 1000) << "a repaint stalled";
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
};

TEST_F(KilledRecording, AfterOneSecondTheNextStartKeepsItsFrames) { KillAfter(1000); }

TEST_F(KilledRecording, AfterFiveSecondsTheNextStartKeepsItsFrames) { KillAfter(5000); }

} // namespace
} // namespace programtest
