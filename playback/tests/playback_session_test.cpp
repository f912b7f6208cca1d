// The session behind the library with its system seam replaced: the renderer choice by system version
// and the Overlay Mixer branch (Wine has no Overlay Mixer, so a stand-in plays it).
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "GraphHelper.h"
#include "PlaybackSession.h"
#include "ReaderClsids.h"
#include "fake_overlay_mixer.h"
#include "fluvant_fixture.h"
#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

namespace {

// A callback for the stop tests: what it does on its first report from the progress thread.
struct StoppingCallback {
    enum class Action { kStopPlayback, kWaitForTheTest };
    static void CALLBACK Report(LONGLONG, LONGLONG, LONGLONG, DWORD) {
        reports.fetch_add(1);
        if (GetCurrentThreadId() == testThread || acted.exchange(true))
            return;
        if (action == Action::kStopPlayback) {
            PlaybackSession().Stop(false);
            stopReturned = true;
        } else {
            blocked = true;
            WaitForSingleObject(release, 10000);
            blocked = false;
        }
    }
    static void Reset(Action what) {
        action = what;
        testThread = GetCurrentThreadId();
        reports = 0;
        acted = false;
        stopReturned = false;
        blocked = false;
    }
    static Action action;
    static DWORD testThread;
    static std::atomic<int> reports;
    static std::atomic<bool> acted;
    static std::atomic<bool> stopReturned;
    static std::atomic<bool> blocked;
    static HANDLE release;
};
StoppingCallback::Action StoppingCallback::action = StoppingCallback::Action::kStopPlayback;
DWORD StoppingCallback::testThread = 0;
std::atomic<int> StoppingCallback::reports{0};
std::atomic<bool> StoppingCallback::acted{false};
std::atomic<bool> StoppingCallback::stopReturned{false};
std::atomic<bool> StoppingCallback::blocked{false};
HANDLE StoppingCallback::release = nullptr;

// An older system whose Overlay Mixer is the stand-in.
class OldSystem : public PlaybackPlatform {
public:
    explicit OldSystem(bool offersConfig) : offersConfig_(offersConfig) {}
    HRESULT CreateFilter(REFCLSID clsid, IBaseFilter** filter) override {
        if (clsid == qelclsid::kOverlayMixer) {
            mixer = new FakeOverlayMixer(offersConfig_);
            held = static_cast<IBaseFilter*>(mixer); // the test keeps it alive beyond the graph
            *filter = held.Get();
            (*filter)->AddRef();
            return S_OK;
        }
        return PlaybackPlatform::CreateFilter(clsid, filter);
    }
    int MajorVersion() override { return 4; }
    FakeOverlayMixer* mixer = nullptr;
    qel::ComPtr<IBaseFilter> held;

private:
    bool offersConfig_;
};

class PlaybackSessionTest : public fluvanttest::PlaybackTest {
protected:
    void SetUp() override {
        fluvanttest::PlaybackTest::SetUp();
        ASSERT_TRUE(RegisterNotificationClass());
    }
    void TearDown() override {
        PlaybackSession().Stop(false);
        PlaybackSession().SetPlatform(nullptr);
        fluvanttest::PlaybackTest::TearDown();
    }
    bool GraphHolds(REFCLSID clsid) {
        CGraphHelper helper;
        IBaseFilter* found = helper.FindFilterByClsid(PlaybackSession().Graph(), clsid);
        if (found)
            found->Release();
        return found != nullptr;
    }
};

TEST_F(PlaybackSessionTest, AnOldSystemUsesTheOverlayMixerInLetterBoxMode) {
    OldSystem system(true);
    PlaybackSession().SetPlatform(&system);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr);
    ASSERT_NE(nullptr, system.mixer);
    EXPECT_EQ(1, system.mixer->joins.load());
    EXPECT_EQ(kAspectLetterBox, system.mixer->aspectMode.load());
    EXPECT_TRUE(GraphHolds(qelclsid::kVideoRenderer)) << "the plain renderer on an old system";
    EXPECT_FALSE(GraphHolds(qelclsid::kVideoMixingRenderer));
    EXPECT_TRUE(PlaybackSession().Playing());
}

TEST_F(PlaybackSessionTest, AnOverlayMixerWithoutItsPinConfigurationLeavesTheGraph) {
    OldSystem system(false);
    PlaybackSession().SetPlatform(&system);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr);
    ASSERT_NE(nullptr, system.mixer);
    EXPECT_EQ(1, system.mixer->leaves.load()) << "removed once";
    EXPECT_EQ(-1, system.mixer->aspectMode.load());
    EXPECT_FALSE(GraphHolds(qelclsid::kOverlayMixer));
}

TEST_F(PlaybackSessionTest, ANewSystemPicksTheMixingRenderer) {
    fluvanttest::HostWindow host;
    ASSERT_EQ(0, PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr));
    EXPECT_TRUE(PlaybackSession().Playing());
    ASSERT_NE(nullptr, PlaybackSession().Graph());
    EXPECT_FALSE(GraphHolds(qelclsid::kOverlayMixer));
    EXPECT_FALSE(GraphHolds(qelclsid::kVideoRenderer)) << "the plain renderer is only for old systems";
    qel::ComPtr<IVideoWindow> window;
    ASSERT_EQ(S_OK, PlaybackSession().Graph()->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf())));
    OAHWND owner = 0;
    EXPECT_EQ(S_OK, window->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(host.Handle()), owner);
    window.Reset(); // the graph must go with the stop
    PlaybackSession().Stop(false);
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
}

TEST_F(PlaybackSessionTest, AReportThatStopsThePlaybackEndsItAndTheGraphIsReleasedOnce) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    StoppingCallback::Reset(StoppingCallback::Action::kStopPlayback);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("long.avi", 100).c_str(), host.Handle(), 0, 0, &StoppingCallback::Report);
    ASSERT_TRUE(PlaybackSession().Playing());
    qel::ComPtr<IGraphBuilder> graph = PlaybackSession().Graph();
    ASSERT_TRUE(graph);
    // The stop asked for from the progress thread returns there; this thread finishes it.
    EXPECT_TRUE(qeltest::PumpUntil(
        [] { return StoppingCallback::stopReturned.load() && !PlaybackSession().Playing(); }, 10000));
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    const int reportsAtStop = StoppingCallback::reports.load();
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(reportsAtStop, StoppingCallback::reports.load()) << "no report after the stop";
    // Only this test's reference is left: the session let go of the graph, once.
    EXPECT_EQ(0u, graph.Detach()->Release());
    PlaybackSession().Stop(false);
    EXPECT_FALSE(PlaybackSession().Playing());
}

TEST_F(PlaybackSessionTest, AStopDoesNotWaitForACallbackThatWaitsOnTheStoppingThread) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    StoppingCallback::Reset(StoppingCallback::Action::kWaitForTheTest);
    StoppingCallback::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("long.avi", 100).c_str(), host.Handle(), 0, 0, &StoppingCallback::Report);
    ASSERT_TRUE(qeltest::PumpUntil([] { return StoppingCallback::blocked.load(); }, 10000));
    PlaybackSession().Stop(false);
    // The callback is let go only now: a stop that waited for it would have come back after it.
    EXPECT_TRUE(StoppingCallback::blocked.load()) << "the stop waited for the blocked callback";
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    const int reportsAtStop = StoppingCallback::reports.load();
    SetEvent(StoppingCallback::release);
    EXPECT_TRUE(qeltest::PumpUntil([] { return !StoppingCallback::blocked.load(); }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(reportsAtStop, StoppingCallback::reports.load()) << "no report after the stop";
    CloseHandle(StoppingCallback::release);
    StoppingCallback::release = nullptr;
}

// A render step that hangs until the test lets it go, as the platform's source does on some damaged
// files; then it fails as the platform would not have.
struct HangingRender {
    static HRESULT Render(IGraphBuilder* graph, const char*) {
        entered = true;
        WaitForSingleObject(release, 30000);
        // Touches its graph after the play was given up: the graph must still be the step's to touch.
        qel::ComPtr<IMediaSeeking> seeking;
        graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking.GetAddressOf()));
        finished = true;
        return VFW_E_CANNOT_RENDER;
    }
    static std::atomic<bool> entered;
    static std::atomic<bool> finished;
    static HANDLE release;
};
std::atomic<bool> HangingRender::entered{false};
std::atomic<bool> HangingRender::finished{false};
HANDLE HangingRender::release = nullptr;

// The limits of the hanging tests: short, so that the tests do not wait 10 s a give-up.
constexpr CallLimit kTestGraphLimit = {1500, 5000};

class HangingSystem : public PlaybackPlatform {
public:
    RenderStep Renderer() override { return &HangingRender::Render; }
    CallLimit GraphLimit() override { return kTestGraphLimit; }
};

// A graph whose stop hangs until the test lets it go (as a renderer can hang it); then it stops.
struct HangingStop {
    static HRESULT Stop(IMediaControl* control, IMediaEventEx* events) {
        entered = true;
        WaitForSingleObject(release, 30000);
        const HRESULT stopped = StopMediaGraph(control, events);
        finished = true;
        return stopped;
    }
    static std::atomic<bool> entered;
    static std::atomic<bool> finished;
    static HANDLE release;
};
std::atomic<bool> HangingStop::entered{false};
std::atomic<bool> HangingStop::finished{false};
HANDLE HangingStop::release = nullptr;

class HangingStopSystem : public PlaybackPlatform {
public:
    ControlStep Stopper() override { return &HangingStop::Stop; }
    CallLimit GraphLimit() override { return kTestGraphLimit; }
};

// Another thread's sends to the host while the play waits: they are answered, not held.
DWORD WINAPI SendWhileWaiting(void* host) {
    DWORD slowest = 0;
    for (int i = 0; i < 10; ++i) {
        const DWORD began = GetTickCount();
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(static_cast<HWND>(host), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
            return 5000;
        slowest = std::max(slowest, GetTickCount() - began);
        Sleep(100);
    }
    return slowest;
}

TEST_F(PlaybackSessionTest, APlayWhoseGraphHangsFailsWithinItsLimitAndTheAbandonedBuildEndsHarmlessly) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HangingRender::entered = false;
    HangingRender::finished = false;
    HangingRender::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("clip.avi", 10);
    HANDLE sender = CreateThread(nullptr, 0, &SendWhileWaiting, host.Handle(), 0, nullptr);
    const DWORD began = GetTickCount();
    const int answer = PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, &fluvanttest::ReportLog::Callback);
    const DWORD took = GetTickCount() - began;
    std::printf("figure: the play of a hanging build came back after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_TRUE(HangingRender::entered.load());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_TIMEOUT), answer);
    EXPECT_LT(took, 10000u) << "hang guard";
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(sender, 10000));
    DWORD slowestSend = 0;
    GetExitCodeThread(sender, &slowestSend);
    CloseHandle(sender);
    std::printf("figure: slowest answer to another thread's send during the play: %lu ms\n",
                static_cast<unsigned long>(slowestSend));
    EXPECT_LT(slowestSend, 5000u) << "the host did not answer while the play waited";

    // The system comes back before the stuck step ends: the next play of another file works, while
    // the given-up file is answered at once.
    PlaybackSession().SetPlatform(nullptr);
    EXPECT_EQ(0, PlaybackSession().Play(MakeClip("other.avi", 10).c_str(), host.Handle(), 0, 0, nullptr));
    EXPECT_TRUE(PlaybackSession().Playing());
    PlaybackSession().Stop(false);
    EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));

    // Let go, the abandoned step finishes with its own graph; nothing of the session is touched.
    SetEvent(HangingRender::release);
    EXPECT_TRUE(qeltest::PumpUntil([] { return HangingRender::finished.load(); }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, fluvanttest::ReportLog::Count()) << "a given-up play reported";
    EXPECT_FALSE(PlaybackSession().Playing());
    CloseHandle(HangingRender::release);
    HangingRender::release = nullptr;
}

TEST_F(PlaybackSessionTest, ARefusedFileIsAFailureAndLeavesNothingPlaying) {
    fluvanttest::HostWindow host;
    const std::string junk = folder_.File("junk.avi");
    HANDLE file = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "RIFF not a clip", 15, &written, nullptr);
    CloseHandle(file);
    EXPECT_LT(PlaybackSession().Play(junk.c_str(), host.Handle(), 0, 0, nullptr), 0);
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    EXPECT_TRUE(fluvanttest::Children(host.Handle()).empty()) << "a renderer window was left in the host";
}

TEST_F(PlaybackSessionTest, PlayPressedTwentyTimesOnAHangingClipLeavesOneThreadBehind) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HangingRender::entered = false;
    HangingRender::finished = false;
    HangingRender::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("clip.avi", 10);
    EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    const DWORD began = GetTickCount();
    for (int press = 1; press < 20; ++press) {
        HangingRender::entered = false;
        EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr)) << press;
        EXPECT_FALSE(HangingRender::entered.load()) << "tried again while its first try still hangs, press " << press;
    }
    const DWORD took = GetTickCount() - began;
    std::printf("figure: 19 more plays of the hanging clip came back after %lu ms in all\n",
                static_cast<unsigned long>(took));
    EXPECT_LT(took, 10000u) << "hang guard";
    EXPECT_EQ(1u, PlaybackSession().GivenUpPlaysRunning());
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));

    // Once its thread has come back, the file is let go of and may be tried again.
    SetEvent(HangingRender::release);
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    EXPECT_EQ(0u, PlaybackSession().GivenUpPlaysRunning());
    PlaybackSession().SetPlatform(nullptr);
    EXPECT_EQ(0, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    PlaybackSession().Stop(false);
    CloseHandle(HangingRender::release);
    HangingRender::release = nullptr;
}

TEST_F(PlaybackSessionTest, AtFourGivenUpPlaysStillInsideThePlatformNoNewFileIsTried) {
    qeltest::Watchdog::ExtendCurrentTest(90);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HangingRender::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fluvanttest::HostWindow host;
    for (size_t i = 0; i < kMaxGivenUpPlays; ++i) {
        const std::string clip = MakeClip("hang" + std::to_string(i) + ".avi", 5);
        EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr)) << clip;
    }
    EXPECT_EQ(kMaxGivenUpPlays, PlaybackSession().GivenUpPlaysRunning());
    HangingRender::entered = false;
    const std::string another = MakeClip("another.avi", 5);
    EXPECT_EQ(kTooManyGivenUpPlays, PlaybackSession().Play(another.c_str(), host.Handle(), 0, 0, nullptr));
    EXPECT_FALSE(HangingRender::entered.load()) << "a fifth file was tried";
    EXPECT_FALSE(PlaybackSession().Playing());

    SetEvent(HangingRender::release);
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GivenUpPlaysRunning() == 0; }, 10000));
    PlaybackSession().SetPlatform(nullptr);
    EXPECT_EQ(0, PlaybackSession().Play(another.c_str(), host.Handle(), 0, 0, nullptr)) << "refused for good";
    PlaybackSession().Stop(false);
    CloseHandle(HangingRender::release);
    HangingRender::release = nullptr;
}

TEST_F(PlaybackSessionTest, AStopThatHangsHidesTheRenderersPictureAndHoldsTheFileUntilItReturns) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingStopSystem system;
    PlaybackSession().SetPlatform(&system);
    HangingStop::entered = false;
    HangingStop::finished = false;
    HangingStop::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    ASSERT_EQ(0, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    qeltest::PumpMessagesFor(200);
    auto visibleChildren = [&host] {
        int visible = 0;
        for (HWND child : fluvanttest::Children(host.Handle()))
            visible += IsWindowVisible(child) ? 1 : 0;
        return visible;
    };
    if (visibleChildren() == 0) {
        PlaybackSession().Stop(false);
        SetEvent(HangingStop::release);
        qeltest::PumpUntil([] { return HangingStop::finished.load(); }, 10000);
        CloseHandle(HangingStop::release);
        HangingStop::release = nullptr;
        GTEST_SKIP() << "the platform's renderer shows no window inside the host here";
    }
    const DWORD began = GetTickCount();
    PlaybackSession().Stop(false);
    const DWORD took = GetTickCount() - began;
    std::printf("figure: the stop of a hanging graph came back after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_TRUE(HangingStop::entered.load());
    EXPECT_LT(took, 10000u) << "hang guard";
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_TRUE(qeltest::PumpUntil([&] { return visibleChildren() == 0; }, 5000))
        << "the given-up graph's picture stays over the host";
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));
    EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr))
        << "tried again while its stop still hangs";

    SetEvent(HangingStop::release);
    EXPECT_TRUE(qeltest::PumpUntil([] { return HangingStop::finished.load(); }, 10000));
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    CloseHandle(HangingStop::release);
    HangingStop::release = nullptr;
}

} // namespace
