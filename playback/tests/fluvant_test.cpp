// The playback library through its ordinals: playing to the end and to a stop time, the reports, the
// video window inside the host, the host's end, refitting after resizes, and many play/stop cycles.
#include <windows.h>

#include <gtest/gtest.h>

#include <dshow.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "qeldshow/com_ptr.h"
#include "ReaderClsids.h"
#include "fluvant_fixture.h"
#include "qeltest/process_counts.h"
#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

namespace {

using fluvanttest::Children;
using fluvanttest::HostWindow;
using fluvanttest::Report;
using fluvanttest::ReportLog;

typedef int(WINAPI* PlayFn)(const char*, HWND, LONGLONG, LONGLONG, lpProgressCallback);
typedef void(WINAPI* StopFn)();

constexpr LONGLONG kSecond = 10000000;

class FluvantTest : public fluvanttest::PlaybackTest {
protected:
    void SetUp() override {
        fluvanttest::PlaybackTest::SetUp();
        module_ = LoadLibraryA("Fluvant.dll");
        ASSERT_NE(nullptr, module_);
        play_ = reinterpret_cast<PlayFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(1))));
        stop_ = reinterpret_cast<StopFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(2))));
        ASSERT_NE(nullptr, play_);
        ASSERT_NE(nullptr, stop_);
    }
    void TearDown() override {
        if (stop_)
            stop_();
        ReportLog::SendTo(nullptr);
        if (module_)
            FreeLibrary(module_);
        fluvanttest::PlaybackTest::TearDown();
    }
    // Pumps until a report with current == stop arrived (the last one); returns all reports.
    std::vector<Report> PlayToTheEnd(LONGLONG expectedStop, std::vector<Report>* all) {
        std::vector<Report> seen;
        qeltest::PumpUntil(
            [&] {
                for (const Report& report : ReportLog::Take())
                    seen.push_back(report);
                return !seen.empty() && seen.back().current == expectedStop && seen.back().stop == expectedStop;
            },
            20000);
        *all = seen;
        return seen;
    }

    HMODULE module_ = nullptr;
    PlayFn play_ = nullptr;
    StopFn stop_ = nullptr;
};

TEST_F(FluvantTest, ExportsAreBoundByOrdinal) {
    EXPECT_EQ(reinterpret_cast<void*>(play_), reinterpret_cast<void*>(GetProcAddress(module_, "lpPlay")));
    EXPECT_EQ(reinterpret_cast<void*>(stop_), reinterpret_cast<void*>(GetProcAddress(module_, "lpStop")));
    typedef int(WINAPI * HeldFn)(const char*);
    auto held = reinterpret_cast<HeldFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(3))));
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(reinterpret_cast<void*>(held), reinterpret_cast<void*>(GetProcAddress(module_, "lpFileHeld")));
    EXPECT_EQ(0, held(MakeClip("never.avi", 5).c_str())) << "a file never played is held";
    typedef int(WINAPI * WaitFn)(DWORD);
    auto wait = reinterpret_cast<WaitFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(6))));
    ASSERT_NE(nullptr, wait);
    EXPECT_EQ(reinterpret_cast<void*>(wait), reinterpret_cast<void*>(GetProcAddress(module_, "lpWaitUntilDown")));
    EXPECT_EQ(1, wait(0)) << "a graph is going down where none was played";
    typedef int(WINAPI * CountFn)();
    auto left = reinterpret_cast<CountFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(7))));
    ASSERT_NE(nullptr, left);
    EXPECT_EQ(reinterpret_cast<void*>(left), reinterpret_cast<void*>(GetProcAddress(module_, "lpThreadsLeftInside")));
    EXPECT_EQ(0, left()) << "a thread is inside the platform where nothing was played";
}

TEST_F(FluvantTest, PlaysToTheEndWithPeriodicReportsAndAFinalOne) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    EXPECT_EQ(0, play_(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, &ReportLog::Callback));
    // The renderer's window is a child of the host, fitted to its client area.
    const std::vector<HWND> children = Children(host.Handle());
    ASSERT_FALSE(children.empty()) << "no video window inside the host";
    RECT client = {}, video = {};
    GetClientRect(host.Handle(), &client);
    GetClientRect(children.front(), &video);
    EXPECT_EQ(client.right, video.right);
    EXPECT_EQ(client.bottom, video.bottom);

    std::vector<Report> reports;
    PlayToTheEnd(kSecond, &reports);
    ASSERT_FALSE(reports.empty());
    const Report last = reports.back();
    EXPECT_EQ(kSecond, last.stop) << "a stop of 0 plays to the duration";
    EXPECT_EQ(kSecond, last.current) << "the last report says the stop was reached";
    EXPECT_EQ(GetCurrentThreadId(), last.thread) << "the final report comes on the caller's thread";
    for (size_t i = 0; i + 1 < reports.size(); ++i) {
        EXPECT_LT(reports[i].current, kSecond);
        EXPECT_EQ(0u, reports[i].user);
        EXPECT_EQ(0, reports[i].start);
    }
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count()) << "nothing after the end";
    stop_();
    EXPECT_EQ(0u, ReportLog::Count()) << "a stop after the end reports nothing";
}

TEST_F(FluvantTest, AStopBeyondTheDurationIsReportedAsGiven) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    const LONGLONG givenStop = 5 * kSecond;
    play_(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, givenStop, &ReportLog::Callback);
    std::vector<Report> reports;
    PlayToTheEnd(givenStop, &reports);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(givenStop, reports.back().current);
    for (const Report& report : reports)
        EXPECT_EQ(givenStop, report.stop);
}

TEST_F(FluvantTest, LpStopEndsThePlaybackWithOneReportAndNothingLater) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    play_(MakeClip("long.avi", 100).c_str(), host.Handle(), 2 * kSecond, 0, &ReportLog::Callback);
    ASSERT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 2; }, 10000)) << "no periodic reports";
    ReportLog::Take();
    stop_();
    const std::vector<Report> atStop = ReportLog::Take();
    ASSERT_EQ(1u, atStop.size()) << "the stop reports the position once";
    EXPECT_LT(atStop[0].current, 10 * kSecond);
    EXPECT_GE(atStop[0].current, 2 * kSecond) << "playing started at the given start";
    EXPECT_EQ(GetCurrentThreadId(), atStop[0].thread);
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count());
    EXPECT_TRUE(Children(host.Handle()).empty()) << "the video window left the host";
}

TEST_F(FluvantTest, NothingPlaysWithoutAFileOrAHost) {
    HostWindow host;
    EXPECT_EQ(0, play_(nullptr, host.Handle(), 0, 0, &ReportLog::Callback));
    EXPECT_EQ(0, play_(MakeClip("clip.avi", 10).c_str(), nullptr, 0, 0, &ReportLog::Callback));
    stop_();
    qeltest::PumpMessagesFor(200);
    EXPECT_EQ(0u, ReportLog::Count());
    EXPECT_TRUE(Children(host.Handle()).empty());
}

TEST_F(FluvantTest, AFileThatCannotBeRenderedNeverReports) {
    HostWindow host;
    const std::string junk = folder_.File("junk.avi");
    HANDLE file = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "not a clip at all", 17, &written, nullptr);
    CloseHandle(file);
    EXPECT_NE(0, play_(junk.c_str(), host.Handle(), 0, 0, &ReportLog::Callback)) << "a refused file is a failure";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count());
    stop_();
}

TEST_F(FluvantTest, ClosingTheHostStopsAndGivesItsProcedureBackFirst) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    play_(MakeClip("long.avi", 100).c_str(), host.Handle(), 0, 0, &ReportLog::Callback);
    ASSERT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 1; }, 10000));
    host.Destroy();
    EXPECT_TRUE(HostWindow::OwnProcedureAtEnd()) << "the host's own procedure was back before its end";
    ReportLog::Take();
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count()) << "no report after the host is gone";
}

TEST_F(FluvantTest, ResizingRefitsTheVideoOnlyAfterTheLastResize) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host(320, 240);
    play_(MakeClip("long.avi", 100).c_str(), host.Handle(), 0, 0, nullptr);
    const std::vector<HWND> children = Children(host.Handle());
    ASSERT_FALSE(children.empty());
    const HWND video = children.front();
    for (int width : {300, 280, 260}) {
        SetWindowPos(host.Handle(), nullptr, 0, 0, width, 200, SWP_NOMOVE | SWP_NOZORDER);
        qeltest::PumpMessagesFor(100);
    }
    RECT client = {}, placed = {};
    GetClientRect(host.Handle(), &client);
    GetClientRect(video, &placed);
    EXPECT_NE(client.right, placed.right) << "refitted before the timer ran out";
    EXPECT_TRUE(qeltest::PumpUntil(
        [&] {
            GetClientRect(video, &placed);
            return placed.right == client.right && placed.bottom == client.bottom;
        },
        3000))
        << "not refitted after the last resize";
}

// What the platform alone leaves behind per played graph (the same renderer, file and stop, none of
// our code): the thread check below allows for it.
double PlatformThreadsPerGraph(const std::string& clip, HWND host, int cycles) {
    const int before = qeltest::ThreadCount();
    const std::wstring wide(clip.begin(), clip.end());
    for (int i = 0; i < cycles; ++i) {
        qel::ComPtr<IGraphBuilder> graph;
        if (FAILED(CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                    reinterpret_cast<void**>(graph.GetAddressOf()))))
            return 0;
        qel::ComPtr<IBaseFilter> mixing;
        if (SUCCEEDED(CoCreateInstance(qelclsid::kVideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       reinterpret_cast<void**>(mixing.GetAddressOf()))))
            graph->AddFilter(mixing.Get(), L"Video Mixing Render");
        graph->RenderFile(wide.c_str(), nullptr);
        qel::ComPtr<IVideoWindow> window;
        graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf()));
        if (window)
            window->put_Owner(reinterpret_cast<OAHWND>(host));
        qel::ComPtr<IMediaControl> control;
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.GetAddressOf()));
        control->Run();
        qeltest::PumpMessagesFor(20);
        control->Stop();
        if (window) {
            window->put_Visible(OAFALSE);
            window->put_Owner(0);
        }
    }
    qeltest::PumpMessagesFor(300);
    return static_cast<double>(qeltest::ThreadCount() - before) / cycles;
}

TEST_F(FluvantTest, HundredPlayStopCyclesWithACallbackThatSendsToThisThread) {
    qeltest::Watchdog::ExtendCurrentTest(400);
    HostWindow host;
    ReportLog::SendTo(host.Handle());
    const std::string clip = MakeClip("long.avi", 100);
    // One cycle first, so that the platform's own threads that stay (Wine's) are counted in the base.
    play_(clip.c_str(), host.Handle(), 0, 0, &ReportLog::Callback);
    qeltest::PumpMessagesFor(100);
    stop_();
    qeltest::PumpMessagesFor(300);
    const int threadsBefore = qeltest::ThreadCount();
    for (int cycle = 0; cycle < 100; ++cycle) {
        play_(clip.c_str(), host.Handle(), 0, 0, &ReportLog::Callback);
        qeltest::PumpMessagesFor(cycle % 4 == 0 ? 150 : 20);
        stop_();
        const size_t afterStop = ReportLog::Count();
        qeltest::PumpMessagesFor(5);
        ASSERT_EQ(afterStop, ReportLog::Count()) << "a report after lpStop in cycle " << cycle;
    }
    qeltest::PumpMessagesFor(500);
    const int grown = qeltest::ThreadCount() - threadsBefore;
    EXPECT_GT(HostWindow::SentReports(), 0) << "the callback's sends reached the host";
    ReportLog::SendTo(nullptr);
    const double platformPerGraph = PlatformThreadsPerGraph(clip, host.Handle(), 10);
    EXPECT_LE(grown, static_cast<int>(platformPerGraph * 100 + 0.5) + 2)
        << "threads grew by " << grown << " over 100 cycles; the platform alone leaves " << platformPerGraph
        << " a graph";
}

// lpPlay on the clips the album's tests keep that hang the platform's AVI source, each in a probe
// process of its own (a thread left inside the platform's source can crash Wine's host side at the
// process's end, which must not count here).
TEST_F(FluvantTest, APlayOnAClipThatHangsItsSourceFailsWithinItsLimit) {
    qeltest::Watchdog::ExtendCurrentTest(300);
    // The platform's source hangs on these clips most of the time, and on a busy machine sometimes
    // refuses one at once instead: a refusal is a sound answer too, but only a hang tries the limit.
    constexpr DWORD kGivenUp = 0, kRefused = 4;
    int givenUp = 0;
    for (const char* name : {"damaged_clip_a.avi", "damaged_clip_b.avi"}) {
        const std::string clip = folder_.File(name);
        ASSERT_TRUE(CopyFileA((std::string("Z:") + QEL_DAMAGED_CLIP_DIR + "/" + name).c_str(), clip.c_str(), FALSE))
            << name;
        std::string command = std::string("\"Z:") + QEL_HANG_PROBE + "\" \"" + clip + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION probe = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &probe))
            << command;
        const bool ended = WaitForSingleObject(probe.hProcess, 120000) == WAIT_OBJECT_0;
        DWORD code = 99;
        if (ended)
            GetExitCodeProcess(probe.hProcess, &code);
        else
            TerminateProcess(probe.hProcess, 99);
        CloseHandle(probe.hThread);
        CloseHandle(probe.hProcess);
        ASSERT_TRUE(ended) << name << ": the probe did not end";
        if (code == kRefused)
            std::printf("%s: the platform refused the clip this time rather than hang\n", name);
        EXPECT_TRUE(code == kGivenUp || code == kRefused)
            << name << ": " << code
            << " (1 played, 2 lpPlay did not come back within 60 s, 3 no library, 5 the given-up play not counted)";
        givenUp += code == kGivenUp ? 1 : 0;
    }
    if (givenUp == 0 && !HasFailure())
        GTEST_SKIP() << "the platform refused both clips at once this time: no play hung to be given up";
}

// Reports that arrive while the test marks the library as stopped: none may, however the stop falls.
struct LateReports {
    static void CALLBACK Callback(LONGLONG, LONGLONG, LONGLONG, DWORD) {
        if (stopped.load())
            late.fetch_add(1);
        seen.fetch_add(1);
        // A report that takes a while: the stop meets it in flight more often.
        Sleep(seen.load() % 3 == 0 ? 15 : 0);
    }
    static std::atomic<bool> stopped;
    static std::atomic<int> late;
    static std::atomic<int> seen;
};
std::atomic<bool> LateReports::stopped{false};
std::atomic<int> LateReports::late{0};
std::atomic<int> LateReports::seen{0};

TEST_F(FluvantTest, NoReportReachesTheCallbackAfterLpStopReturnsOverManyStops) {
    qeltest::Watchdog::ExtendCurrentTest(400);
    HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    LateReports::late = 0;
    LateReports::seen = 0;
    for (int cycle = 0; cycle < 60; ++cycle) {
        LateReports::stopped = false;
        play_(clip.c_str(), host.Handle(), 0, 0, &LateReports::Callback);
        // Stops at varying moments of the 67-ms report period.
        qeltest::PumpMessagesFor(80 + static_cast<unsigned>(cycle % 7) * 11);
        stop_();
        LateReports::stopped = true;
        qeltest::PumpMessagesFor(cycle % 5 == 0 ? 150 : 10);
    }
    std::printf("figure: %d reports over 60 playbacks, %d after their stop\n", LateReports::seen.load(),
                LateReports::late.load());
    EXPECT_GT(LateReports::seen.load(), 60) << "the playbacks hardly reported";
    EXPECT_EQ(0, LateReports::late.load());
}


// lpPlayAsync: the same play without waiting on the file, its outcome posted to the host.

using fluvanttest::kOutcomeMessage;
using fluvanttest::OutcomeLog;

typedef int(WINAPI* PlayAsyncFn)(const char*, HWND, LONGLONG, LONGLONG, lpProgressCallback, UINT, DWORD*);

class FluvantAsyncTest : public FluvantTest {
protected:
    void SetUp() override {
        FluvantTest::SetUp();
        playAsync_ =
            reinterpret_cast<PlayAsyncFn>(reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(4))));
        ASSERT_NE(nullptr, playAsync_);
    }
    int Begin(const std::string& clip, HWND host, lpProgressCallback callback, DWORD* play) {
        return playAsync_(clip.c_str(), host, 0, 0, callback, kOutcomeMessage, play);
    }
    PlayAsyncFn playAsync_ = nullptr;
};

TEST_F(FluvantAsyncTest, LpPlayAsyncIsOrdinalFourAndPostsTheOutcomeOfAPlayThatThenReportsUntilLpStop) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    EXPECT_EQ(reinterpret_cast<void*>(playAsync_), reinterpret_cast<void*>(GetProcAddress(module_, "lpPlayAsync")));
    HostWindow host;
    DWORD play = 0;
    const DWORD began = GetTickCount();
    ASSERT_EQ(S_OK, Begin(MakeClip("long.avi", 100), host.Handle(), &ReportLog::Callback, &play));
    const DWORD took = GetTickCount() - began;
    std::printf("figure: lpPlayAsync came back after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_NE(0u, play);
    EXPECT_TRUE(OutcomeLog::All().empty()) << "the outcome is posted, not told inside the call";
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(play, 10000, &outcome)) << "no outcome posted";
    EXPECT_EQ(S_OK, outcome);
    const std::vector<HWND> children = Children(host.Handle());
    ASSERT_FALSE(children.empty()) << "no video window inside the host";
    RECT client = {}, video = {};
    GetClientRect(host.Handle(), &client);
    GetClientRect(children.front(), &video);
    EXPECT_EQ(client.right, video.right);
    EXPECT_EQ(client.bottom, video.bottom);
    ASSERT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 2; }, 10000)) << "no periodic reports";
    stop_();
    // The periodic reports come from another thread; the stop's one report comes on this one.
    std::vector<Report> atStop;
    for (const Report& report : ReportLog::Take())
        if (report.thread == GetCurrentThreadId())
            atStop.push_back(report);
    ASSERT_EQ(1u, atStop.size()) << "the stop reports the position once";
    EXPECT_LT(atStop[0].current, 10 * kSecond);
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count());
    EXPECT_TRUE(Children(host.Handle()).empty()) << "the video window left the host";
    EXPECT_EQ(1u, OutcomeLog::All().size());
}

TEST_F(FluvantAsyncTest, LpPlayAsyncOfAShortClipPlaysToTheEndWithAFinalReport) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    DWORD play = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 10), host.Handle(), &ReportLog::Callback, &play));
    std::vector<Report> reports;
    PlayToTheEnd(kSecond, &reports);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(kSecond, reports.back().current) << "the last report says the stop was reached";
    EXPECT_EQ(GetCurrentThreadId(), reports.back().thread);
    EXPECT_EQ(1, OutcomeLog::CountOf(play));
    EXPECT_EQ(1u, OutcomeLog::All().size());
}

TEST_F(FluvantAsyncTest, LpPlayAsyncWithNothingToPlayAnswersSFalseAndPostsNothing) {
    HostWindow host;
    DWORD play = 7;
    EXPECT_EQ(S_FALSE, playAsync_(nullptr, host.Handle(), 0, 0, &ReportLog::Callback, kOutcomeMessage, &play));
    EXPECT_EQ(0u, play);
    play = 7;
    EXPECT_EQ(S_FALSE, Begin(MakeClip("clip.avi", 10), nullptr, &ReportLog::Callback, &play));
    EXPECT_EQ(0u, play);
    qeltest::PumpMessagesFor(300);
    EXPECT_TRUE(OutcomeLog::All().empty());
    EXPECT_EQ(0u, ReportLog::Count());
    EXPECT_TRUE(Children(host.Handle()).empty());
}

TEST_F(FluvantAsyncTest, LpPlayAsyncOfAFileThatCannotBeRenderedPostsAFailureAndNeverReports) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    const std::string junk = folder_.File("junk.avi");
    HANDLE file = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "not a clip at all", 17, &written, nullptr);
    CloseHandle(file);
    DWORD play = 0;
    ASSERT_EQ(S_OK, Begin(junk, host.Handle(), &ReportLog::Callback, &play)) << "the file is only tried on the step";
    HRESULT outcome = S_OK;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(play, 10000, &outcome)) << "no outcome posted";
    std::printf("figure: the refused file's outcome is 0x%08lx\n", static_cast<unsigned long>(outcome));
    EXPECT_TRUE(FAILED(outcome)) << "a refused file is a failure";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count());
    EXPECT_TRUE(Children(host.Handle()).empty()) << "a renderer window was left in the host";
    EXPECT_EQ(1u, OutcomeLog::All().size());
}

TEST_F(FluvantAsyncTest, LpStopRightAfterLpPlayAsyncPostsNoOutcomeAndTheNextPlayWorks) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    DWORD first = 0;
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &ReportLog::Callback, &first));
    stop_();
    qeltest::PumpMessagesFor(1500);
    EXPECT_EQ(0, OutcomeLog::CountOf(first)) << "an outcome posted for a stopped play";
    EXPECT_EQ(0u, ReportLog::Count()) << "a stopped play reported";
    EXPECT_TRUE(Children(host.Handle()).empty());

    DWORD second = 0;
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &ReportLog::Callback, &second));
    EXPECT_GT(second, first) << "each play has its own number";
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(second, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 1; }, 10000));
}

TEST_F(FluvantAsyncTest, OnlyTheLastOfThreePlaysBegunInARowPostsItsOutcome) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    DWORD plays[3] = {};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(S_OK, Begin(MakeClip("clip" + std::to_string(i) + ".avi", 100), host.Handle(), &ReportLog::Callback,
                              &plays[i]));
    EXPECT_LT(plays[0], plays[1]);
    EXPECT_LT(plays[1], plays[2]);
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(plays[2], 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    qeltest::PumpMessagesFor(1000);
    EXPECT_EQ(0, OutcomeLog::CountOf(plays[0]));
    EXPECT_EQ(0, OutcomeLog::CountOf(plays[1]));
    EXPECT_EQ(1u, OutcomeLog::All().size());
    EXPECT_EQ(1u, Children(host.Handle()).size()) << "one play, one video window in the host";
}

TEST_F(FluvantAsyncTest, LpPlayAfterLpPlayAsyncAbandonsTheBegunPlay) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HostWindow host;
    DWORD begun = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("one.avi", 100), host.Handle(), nullptr, &begun));
    EXPECT_EQ(0, play_(MakeClip("two.avi", 100).c_str(), host.Handle(), 0, 0, &ReportLog::Callback));
    qeltest::PumpMessagesFor(1000);
    EXPECT_EQ(0, OutcomeLog::CountOf(begun)) << "the abandoned play's outcome was posted";
    EXPECT_TRUE(OutcomeLog::All().empty()) << "lpPlay posts nothing";
    EXPECT_GT(ReportLog::Count(), 0u) << "the waited play reports";
    EXPECT_EQ(1u, Children(host.Handle()).size());
}

// Plays begun and stopped at varying moments, some before their outcome, some after: no outcome may
// arrive for a play after its stop returned, and no report either. Each stopped play's graph is let
// come down before the next begins (the file is free again), so that the plays do not pile up.
bool OpenAlone(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

TEST_F(FluvantAsyncTest, NoOutcomeOrReportArrivesAfterLpStopOverManyBegunPlays) {
    qeltest::Watchdog::ExtendCurrentTest(300);
    HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    LateReports::late = 0;
    LateReports::seen = 0;
    int lateOutcomes = 0, stoppedBefore = 0, stoppedAfter = 0;
    DWORD last = 0, slowestRelease = 0;
    for (int cycle = 0; cycle < 24; ++cycle) {
        LateReports::stopped = false;
        DWORD play = 0;
        ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &LateReports::Callback, &play)) << cycle;
        EXPECT_GT(play, last);
        last = play;
        qeltest::PumpMessagesFor(static_cast<unsigned>(cycle % 8) * 100);
        stop_();
        LateReports::stopped = true;
        // An outcome already queued was posted before the stop.
        MSG message;
        while (PeekMessageA(&message, host.Handle(), kOutcomeMessage, kOutcomeMessage, PM_REMOVE))
            DispatchMessageA(&message);
        const int told = OutcomeLog::CountOf(play);
        EXPECT_LE(told, 1) << cycle;
        (told ? stoppedAfter : stoppedBefore) += 1;
        const DWORD stopped = GetTickCount();
        EXPECT_TRUE(qeltest::PumpUntil([&] { return OpenAlone(clip); }, 10000))
            << "the stopped play's graph still holds the file, cycle " << cycle;
        slowestRelease = std::max(slowestRelease, GetTickCount() - stopped);
        qeltest::PumpMessagesFor(cycle % 5 == 0 ? 150 : 20);
        lateOutcomes += OutcomeLog::CountOf(play) - told;
    }
    std::printf("figure: 24 begun plays, %d stopped before their outcome, %d after; %d reports, %d after a stop, "
                "%d outcomes after a stop; the file was free at most %lu ms after a stop\n",
                stoppedBefore, stoppedAfter, LateReports::seen.load(), LateReports::late.load(), lateOutcomes,
                static_cast<unsigned long>(slowestRelease));
    EXPECT_EQ(0, lateOutcomes);
    EXPECT_EQ(0, LateReports::late.load());
    for (const fluvanttest::Outcome& told : OutcomeLog::All())
        EXPECT_EQ(S_OK, told.outcome) << "play " << told.play;
    EXPECT_TRUE(Children(host.Handle()).empty()) << "a video window was left in the host";
}
} // namespace
