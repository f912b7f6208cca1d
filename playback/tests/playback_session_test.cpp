// The session behind the library with its system seam replaced: the renderer choice by system version
// and the Overlay Mixer branch (Wine has no Overlay Mixer, so a stand-in plays it).
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "GraphHelper.h"
#include "PlaybackSession.h"
#include "ReaderClsids.h"
#include "SentMessageWait.h"
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
    // The renderer added by name is the mixing renderer, and the clip's video reaches it.
    qel::ComPtr<IBaseFilter> mixing;
    ASSERT_EQ(S_OK, PlaybackSession().Graph()->FindFilterByName(L"Video Mixing Render", mixing.GetAddressOf()))
        << "the mixing renderer was not added";
    CLSID added = {};
    ASSERT_EQ(S_OK, mixing->GetClassID(&added));
    EXPECT_TRUE(added == qelclsid::kVideoMixingRenderer) << "the renderer added is of another class";
    CGraphHelper helper;
    int inputs = 0, outputs = 0;
    EXPECT_EQ(S_OK, helper.CountConnectedPins(mixing.Get(), &inputs, &outputs));
    EXPECT_EQ(1, inputs) << "the clip's video does not go through the mixing renderer";
    mixing.Reset();
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

// A host that draws the frames itself asks for plays whose video window stays hidden; the next play
// shows its window again once the host asks for that.
TEST_F(PlaybackSessionTest, APlayAskedToKeepItsVideoHiddenRunsWithItsWindowHidden) {
    fluvanttest::HostWindow host;
    const auto videoShown = [] {
        qel::ComPtr<IVideoWindow> window;
        long visible = -1;
        if (PlaybackSession().Graph() &&
            SUCCEEDED(PlaybackSession().Graph()->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf()))))
            window->get_Visible(&visible);
        return visible;
    };
    const std::string clip = MakeClip("hidden.avi", 10);
    PlaybackSession().SetVideoShown(false);
    ASSERT_EQ(0, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    EXPECT_TRUE(PlaybackSession().Playing());
    EXPECT_EQ(OAFALSE, videoShown()) << "the video window was shown all the same";
    PlaybackSession().Stop(false);
    PlaybackSession().SetVideoShown(true);
    ASSERT_EQ(0, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    EXPECT_EQ(OATRUE, videoShown());
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

// What each stand-in step a test holds shares: whether it was entered and has finished, how many steps
// came into it, and the event that lets it go (HeldStep makes and closes it).
template <class Step>
struct Gate {
    // Called first by the step: waits until the test lets it go.
    static void Enter() {
        entered = true;
        tries.fetch_add(1);
        WaitForSingleObject(release, 30000);
    }
    static inline std::atomic<bool> entered{false};
    static inline std::atomic<bool> finished{false};
    static inline std::atomic<int> tries{0};
    static inline HANDLE release = nullptr;
};

// A render step that hangs until the test lets it go, as the platform's source does on some damaged
// files; then it fails as the platform would not have.
struct HangingRender : Gate<HangingRender> {
    static HRESULT Render(IGraphBuilder* graph, const char*) {
        Enter();
        // Touches its graph after the play was given up: the graph must still be the step's to touch.
        qel::ComPtr<IMediaSeeking> seeking;
        graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking.GetAddressOf()));
        finished = true;
        return VFW_E_CANNOT_RENDER;
    }
};

// The limits of the hanging tests: short, so that the tests do not wait 10 s a give-up.
constexpr CallLimit kTestGraphLimit = {1500, 5000};

// A system with the steps the test puts in (null: the platform's own) and the test's limit.
class StepSystem : public PlaybackPlatform {
public:
    explicit StepSystem(CallLimit limit, RenderStep render = nullptr, ControlStep run = nullptr,
                        ControlStep stop = nullptr)
        : limit_(limit), render_(render), run_(run), stop_(stop) {}
    RenderStep Renderer() override { return render_ ? render_ : PlaybackPlatform::Renderer(); }
    ControlStep Runner() override { return run_ ? run_ : PlaybackPlatform::Runner(); }
    ControlStep Stopper() override { return stop_ ? stop_ : PlaybackPlatform::Stopper(); }
    CallLimit GraphLimit() override { return limit_; }

private:
    CallLimit limit_;
    RenderStep render_;
    ControlStep run_;
    ControlStep stop_;
};

struct HangingSystem : StepSystem {
    HangingSystem() : StepSystem(kTestGraphLimit, &HangingRender::Render) {}
};

// A graph whose stop hangs until the test lets it go (as a renderer can hang it); then it stops.
struct HangingStop : Gate<HangingStop> {
    static HRESULT Stop(IMediaControl* control, IMediaEventEx* events) {
        Enter();
        const HRESULT stopped = StopMediaGraph(control, events);
        finished = true;
        return stopped;
    }
};

struct HangingStopSystem : StepSystem {
    HangingStopSystem() : StepSystem(kTestGraphLimit, nullptr, nullptr, &HangingStop::Stop) {}
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
    EXPECT_EQ(1u, PlaybackSession().ThreadsLeftInside()) << "the program's end would not know of it";
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));

    // Once its thread has come back, the file is let go of and may be tried again.
    SetEvent(HangingRender::release);
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    EXPECT_EQ(0u, PlaybackSession().GivenUpPlaysRunning());
    EXPECT_EQ(0u, PlaybackSession().ThreadsLeftInside());
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
    // Going down while its stop is tried; given up (and still holding the file) once it makes no
    // progress.
    EXPECT_EQ(lpHeldWhileGoingDown, PlaybackSession().FileHeld(clip.c_str()));
    EXPECT_EQ(1u, PlaybackSession().ThreadsLeftInside()) << "a graph going down is inside the platform";
    EXPECT_TRUE(qeltest::PumpUntil([&] { return visibleChildren() == 0; }, 5000))
        << "the given-up graph's picture stays over the host";
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));
    EXPECT_EQ(lpHeldByGivenUpPlay, PlaybackSession().FileHeld(clip.c_str()));
    EXPECT_EQ(kCallTimedOut, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr))
        << "tried again while its stop still hangs";

    SetEvent(HangingStop::release);
    EXPECT_TRUE(qeltest::PumpUntil([] { return HangingStop::finished.load(); }, 10000));
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    EXPECT_EQ(lpNotHeld, PlaybackSession().FileHeld(clip.c_str()));
    CloseHandle(HangingStop::release);
    HangingStop::release = nullptr;
}

// The play that does not wait for its graph (BeginPlay): the outcome is posted to the host, the steps'
// ends come back through this thread's messages, and a stop or a new play abandons a play under way.

using fluvanttest::kOutcomeMessage;
using fluvanttest::OutcomeLog;
using fluvanttest::ReportLog;

// Long enough that a step the test holds is never given up while it holds it.
constexpr CallLimit kPatientGraphLimit = {20000, 60000};

// A build that waits until the test lets it go, then renders as the platform does: a slow source.
struct GatedRender : Gate<GatedRender> {
    static HRESULT Render(IGraphBuilder* graph, const char* file) {
        Enter();
        const HRESULT rendered = RenderMediaFile(graph, file);
        finished = true;
        return rendered;
    }
};

// A run that waits until the test lets it go, then runs the graph: a slow renderer.
struct GatedRun : Gate<GatedRun> {
    static HRESULT Run(IMediaControl* control, IMediaEventEx* events) {
        Enter();
        const HRESULT ran = RunMediaGraph(control, events);
        finished = true;
        return ran;
    }
};

// Holds one of the stand-in steps (HangingRender, HangingStop, GatedRender, GatedRun) for a test: lets
// it go when the test ends, however it ends, and waits for the step to leave before its event goes.
template <class Step>
class HeldStep {
public:
    HeldStep() {
        Step::entered = false;
        Step::finished = false;
        Step::release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~HeldStep() {
        Release();
        if (Step::entered.load())
            qeltest::PumpUntil([] { return Step::finished.load(); }, 10000);
        CloseHandle(Step::release);
        Step::release = nullptr;
    }
    HeldStep(const HeldStep&) = delete;
    HeldStep& operator=(const HeldStep&) = delete;
    void Release() { SetEvent(Step::release); }
    // Pumps this thread's messages until the step is inside.
    bool PumpUntilEntered() { return qeltest::PumpUntil([] { return Step::entered.load(); }, 10000); }
};

struct HeldBuildSystem : StepSystem {
    HeldBuildSystem() : StepSystem(kPatientGraphLimit, &HangingRender::Render) {}
};

struct SlowBuildSystem : StepSystem {
    SlowBuildSystem() : StepSystem(kPatientGraphLimit, &GatedRender::Render) {}
};

struct SlowRunSystem : StepSystem {
    SlowRunSystem() : StepSystem(kPatientGraphLimit, nullptr, &GatedRun::Run) {}
};

// A stop that waits until the test lets it go, never given up meanwhile: a slow take-down.
struct SlowStopSystem : StepSystem {
    SlowStopSystem() : StepSystem(kPatientGraphLimit, nullptr, nullptr, &HangingStop::Stop) {}
};

// A run that hangs past the short limits: given up while the host is already subclassed.
struct HangingRunSystem : StepSystem {
    HangingRunSystem() : StepSystem(kTestGraphLimit, nullptr, &GatedRun::Run) {}
};

// Reports of a play the test abandons: none may come.
struct AbandonedReports {
    static void CALLBACK Callback(LONGLONG, LONGLONG, LONGLONG, DWORD) { count.fetch_add(1); }
    static std::atomic<int> count;
};
std::atomic<int> AbandonedReports::count{0};

// Another thread posts a probe to a window of this thread every 50 ms; the window measures how long
// each probe waited to be dispatched. Whatever holds this thread, inside any dispatch, shows as a
// long wait, and probes dispatched while the play is still starting show that the thread ran then.
class DispatchProbe {
public:
    DispatchProbe() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &DispatchProbe::Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QelDispatchProbe";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "QelDispatchProbe", "probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        quit_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        poster_ = CreateThread(nullptr, 0, &DispatchProbe::Post, this, 0, nullptr);
    }
    ~DispatchProbe() {
        Finish();
        CloseHandle(quit_);
        if (window_)
            DestroyWindow(window_);
    }
    DispatchProbe(const DispatchProbe&) = delete;
    DispatchProbe& operator=(const DispatchProbe&) = delete;
    // Stops the posting; the measures stay.
    void Finish() {
        if (!poster_)
            return;
        SetEvent(quit_);
        WaitForSingleObject(poster_, 10000);
        CloseHandle(poster_);
        poster_ = nullptr;
    }
    DWORD SlowestMs() const { return slowest_; }
    int Dispatched() const { return dispatched_; }
    int DispatchedWhileStarting() const { return whileStarting_; }

private:
    static constexpr UINT kProbe = WM_APP + 0x77;
    static DWORD WINAPI Post(void* parameter) {
        auto* probe = static_cast<DispatchProbe*>(parameter);
        while (WaitForSingleObject(probe->quit_, 50) == WAIT_TIMEOUT)
            PostMessageA(probe->window_, kProbe, GetTickCount(), 0);
        return 0;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kProbe) {
            auto* probe = reinterpret_cast<DispatchProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (probe) {
                probe->slowest_ = std::max(probe->slowest_, GetTickCount() - static_cast<DWORD>(wParam));
                ++probe->dispatched_;
                probe->whileStarting_ += PlaybackSession().Starting() ? 1 : 0;
            }
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
    HANDLE quit_ = nullptr;
    HANDLE poster_ = nullptr;
    DWORD slowest_ = 0;
    int dispatched_ = 0;
    int whileStarting_ = 0;
};

bool HostSubclassed(HWND host) {
    return GetWindowLongPtrA(host, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CPlaybackSession::HostProc);
}

// Waits, without dispatching anything posted, until a step's end is queued for the work window: the
// step has returned and the session has not handled it yet.
bool WaitForAStepEndNotHandled() {
    const DWORD began = GetTickCount();
    MSG message;
    while (!PeekMessageA(&message, nullptr, kStepEndedMessage, kStepEndedMessage, PM_NOREMOVE)) {
        if (GetTickCount() - began > 10000)
            return false;
        Sleep(10);
    }
    return true;
}

// Another thread's send to this thread once the run is entered, as a Stop or a Close that another
// program or the system sends reaches the program while the run is waited for: the action runs on this
// thread inside that wait, where nothing posted is handled.
class SendDuringTheRun {
public:
    explicit SendDuringTheRun(std::function<void()> action) : action_(std::move(action)) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &SendDuringTheRun::Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QelSendDuringTheRun";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "QelSendDuringTheRun", "sender", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        sender_ = std::thread([this] {
            if (!qeltest::PumpUntil([] { return GatedRun::entered.load(); }, 10000))
                return;
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(window_, kAct, 0, 0, SMTO_NORMAL, 20000, &answer);
            sent_ = true;
        });
    }
    ~SendDuringTheRun() {
        if (sender_.joinable())
            sender_.join();
        DestroyWindow(window_);
    }
    SendDuringTheRun(const SendDuringTheRun&) = delete;
    SendDuringTheRun& operator=(const SendDuringTheRun&) = delete;
    // Pumps this thread until the action has run and the wait it ran in has ended.
    bool PumpUntilSent() { return qeltest::PumpUntil([this] { return sent_.load(); }, 20000) && acted_; }
    // When the action ended.
    DWORD ActedAt() const { return actedAt_; }

private:
    static constexpr UINT kAct = WM_APP + 0x78;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<SendDuringTheRun*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != kAct || !self)
            return DefWindowProcA(window, message, wParam, lParam);
        self->action_();
        self->acted_ = true;
        self->actedAt_ = GetTickCount();
        return 0;
    }
    std::function<void()> action_;
    HWND window_ = nullptr;
    std::thread sender_;
    std::atomic<bool> sent_{false};
    bool acted_ = false;
    DWORD actedAt_ = 0;
};

// Inside a sent message: lets the held run go and waits, answering only sent messages, until its end
// is queued (the run has returned and the wait has not looked yet).
bool LetTheRunReturn(HeldStep<GatedRun>& held) {
    held.Release();
    const DWORD began = GetTickCount();
    MSG message;
    while (!PeekMessageA(&message, nullptr, kStepEndedMessage, kStepEndedMessage, PM_NOREMOVE)) {
        if (GetTickCount() - began > 10000)
            return false;
        WaitHandlingSentMessages(nullptr, 10);
    }
    return true;
}

class PlaybackSessionAsyncTest : public PlaybackSessionTest {
protected:
    void SetUp() override {
        PlaybackSessionTest::SetUp();
        AbandonedReports::count = 0;
    }
    void TearDown() override {
        // Nothing of one test's plays may still be going down when the next one looks.
        PlaybackSession().Stop(false);
        qeltest::PumpUntil(
            [] { return PlaybackSession().GraphsGoingDown() == 0 && PlaybackSession().GivenUpPlaysRunning() == 0; },
            10000);
        PlaybackSessionTest::TearDown();
    }
    static HRESULT Begin(const std::string& clip, HWND host, lpProgressCallback callback, DWORD* number) {
        return PlaybackSession().BeginPlay(clip.c_str(), host, 0, 0, callback, kOutcomeMessage, number);
    }
};

TEST_F(PlaybackSessionAsyncTest, APlayBegunAnswersAtOncePostsItsOutcomeWithItsNumberAndPlaysUntilStopped) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    DWORD number = 0;
    const DWORD began = GetTickCount();
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &ReportLog::Callback, &number));
    const DWORD took = GetTickCount() - began;
    std::printf("figure: BeginPlay of a healthy clip came back after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_NE(0u, number);
    EXPECT_TRUE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing()) << "playing before this thread handled a message";
    EXPECT_TRUE(OutcomeLog::All().empty()) << "the outcome is posted, not told inside the call";

    HRESULT outcome = E_FAIL;
    const DWORD pumped = GetTickCount();
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(number, 10000, &outcome)) << "no outcome posted";
    std::printf("figure: its outcome arrived %lu ms after the call\n",
                static_cast<unsigned long>(GetTickCount() - pumped + took));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(PlaybackSession().Playing());
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_TRUE(HostSubclassed(host.Handle())) << "the host's end would not stop the playback";
    ASSERT_NE(nullptr, PlaybackSession().Graph());
    qel::ComPtr<IVideoWindow> window;
    ASSERT_EQ(S_OK, PlaybackSession().Graph()->QueryInterface(IID_IVideoWindow,
                                                               reinterpret_cast<void**>(window.GetAddressOf())));
    OAHWND owner = 0;
    EXPECT_EQ(S_OK, window->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(host.Handle()), owner);
    window.Reset(); // the graph must go with the stop

    ASSERT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 2; }, 10000)) << "no position reports";
    for (const fluvanttest::Report& report : ReportLog::Take()) {
        EXPECT_LT(report.current, 10 * 10000000LL);
        EXPECT_NE(GetCurrentThreadId(), report.thread) << "a periodic report on the caller's thread";
    }
    PlaybackSession().Stop(false);
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_FALSE(HostSubclassed(host.Handle()));
    int stopReports = 0; // a periodic one may have come just before the stop
    for (const fluvanttest::Report& report : ReportLog::Take())
        stopReports += report.thread == GetCurrentThreadId() ? 1 : 0;
    EXPECT_EQ(1, stopReports) << "the stop reports the position once";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count()) << "a report after the stop";
    EXPECT_EQ(1u, OutcomeLog::All().size()) << "one play, one outcome";
}

TEST_F(PlaybackSessionAsyncTest, ABuildThatHangsNeverHoldsTheCallersThreadAndItsGiveUpIsPosted) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingRender> held;
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("clip.avi", 10);
    DispatchProbe probe;
    DWORD number = 0;
    const DWORD began = GetTickCount();
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &ReportLog::Callback, &number));
    const DWORD took = GetTickCount() - began;
    std::printf("figure: BeginPlay of a build that hangs came back after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_TRUE(PlaybackSession().Starting()) << "BeginPlay waited for the build until it gave it up";
    EXPECT_FALSE(HangingRender::finished.load());

    HRESULT outcome = S_OK;
    const bool posted = OutcomeLog::PumpUntilOutcomeOf(number, 15000, &outcome);
    probe.Finish();
    std::printf("figure: %d probes dispatched, %d while the build hung; the slowest waited %lu ms\n",
                probe.Dispatched(), probe.DispatchedWhileStarting(), static_cast<unsigned long>(probe.SlowestMs()));
    EXPECT_TRUE(HangingRender::entered.load());
    EXPECT_GE(probe.DispatchedWhileStarting(), 5) << "this thread's messages were not handled while the build hung";
    EXPECT_LT(probe.SlowestMs(), 5000u) << "hang guard";
    EXPECT_TRUE(posted) << "the given-up play's outcome was never posted to the host";
    if (posted) {
        EXPECT_EQ(kCallTimedOut, outcome);
    }
    EXPECT_FALSE(PlaybackSession().Starting()) << "not given up";
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));
    EXPECT_FALSE(HangingRender::finished.load()) << "given up only after it came back";

    // The held file is answered at once, and nothing is posted for it.
    HangingRender::entered = false;
    DWORD again = 1;
    EXPECT_EQ(kCallTimedOut, Begin(clip, host.Handle(), &ReportLog::Callback, &again));
    EXPECT_EQ(0u, again);
    EXPECT_FALSE(HangingRender::entered.load()) << "tried again while its first try still hangs";
    HangingRender::entered = true; // its first try is still inside: the hold waits for it at the end
    const size_t told = OutcomeLog::All().size();
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(told, OutcomeLog::All().size()) << "an outcome posted for a play that never started";

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000))
        << "the hold outlived the step's thread";
    EXPECT_EQ(0u, PlaybackSession().GivenUpPlaysRunning());
    EXPECT_EQ(0u, ReportLog::Count()) << "a given-up play reported";
}

TEST_F(PlaybackSessionAsyncTest, AStopDuringTheBuildReturnsAtOnceAndTheStepTakesItsGraphDownWhenItComesBack) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HeldBuildSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingRender> held;
    fluvanttest::HostWindow host;
    const std::string stuck = MakeClip("stuck.avi", 10);
    DWORD first = 0;
    ASSERT_EQ(S_OK, Begin(stuck, host.Handle(), &AbandonedReports::Callback, &first));
    ASSERT_TRUE(held.PumpUntilEntered());

    const DWORD began = GetTickCount();
    PlaybackSession().Stop(false);
    const DWORD took = GetTickCount() - began;
    std::printf("figure: the stop of a play whose build is under way came back after %lu ms\n",
                static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_FALSE(HangingRender::finished.load()) << "the stop waited for the build";
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(1u, PlaybackSession().GraphsGoingDown());

    // Another clip asked for meanwhile waits for the abandoned graph to be down: graphs never pile up
    // inside the platform.
    PlaybackSession().SetPlatform(nullptr);
    DWORD second = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("other.avi", 100), host.Handle(), &ReportLog::Callback, &second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(PlaybackSession().Starting());
    qeltest::PumpMessagesFor(500);
    EXPECT_EQ(0, OutcomeLog::CountOf(second)) << "the play started while an earlier graph was still going down";
    EXPECT_EQ(1u, PlaybackSession().GraphsGoingDown()) << "the abandoned graph went before its step came back";

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000))
        << "the abandoned graph is still counted going down after its step came back";
    EXPECT_TRUE(HangingRender::finished.load());
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(second, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(PlaybackSession().Playing());
    PlaybackSession().Stop(false);
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(first)) << "an outcome posted for the stopped play";
    EXPECT_EQ(1u, OutcomeLog::All().size());
    EXPECT_EQ(0, AbandonedReports::count.load()) << "the stopped play reported";
    EXPECT_EQ(0u, PlaybackSession().GivenUpPlaysRunning()) << "a step that came back in time was given up";
    EXPECT_FALSE(PlaybackSession().GivenUpPlayHolds(stuck.c_str()));
}

TEST_F(PlaybackSessionAsyncTest, ASecondPlayBegunWhileTheFirstBuildsPostsOnlyItsOwnOutcome) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HeldBuildSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingRender> held;
    fluvanttest::HostWindow host;
    DWORD first = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("stuck.avi", 10), host.Handle(), &AbandonedReports::Callback, &first));
    ASSERT_TRUE(held.PumpUntilEntered());
    PlaybackSession().SetPlatform(nullptr);
    DWORD second = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("other.avi", 100), host.Handle(), nullptr, &second));
    EXPECT_NE(first, second);
    EXPECT_EQ(1u, PlaybackSession().GraphsGoingDown()) << "the first play was not abandoned";

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(second, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(PlaybackSession().Playing());
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(first)) << "the abandoned play's outcome was posted";
    EXPECT_EQ(1u, OutcomeLog::All().size());
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_TRUE(PlaybackSession().Playing()) << "the abandoned step's end stopped the play that replaced it";
}

TEST_F(PlaybackSessionAsyncTest, TwoPlaysBegunInARowPostOnlyTheSecondsOutcome) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    fluvanttest::HostWindow host;
    DWORD first = 0, second = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("one.avi", 100), host.Handle(), &AbandonedReports::Callback, &first));
    ASSERT_EQ(S_OK, Begin(MakeClip("two.avi", 100), host.Handle(), &ReportLog::Callback, &second));
    EXPECT_NE(first, second);
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(second, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    EXPECT_TRUE(qeltest::PumpUntil([] { return ReportLog::Count() >= 1; }, 10000)) << "the second play reports";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(first));
    EXPECT_EQ(1u, OutcomeLog::All().size());
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_TRUE(PlaybackSession().Playing());
}

// A stop that comes after a step returned but before this thread handled its end: the play is
// abandoned all the same, its graph (built, or already running) taken down, and nothing posted.
TEST_F(PlaybackSessionAsyncTest, AStopBetweenABuildsReturnAndItsHandlingPostsNothingAndTakesTheGraphDown) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowBuildSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRender> held;
    fluvanttest::HostWindow host;
    DWORD number = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 100), host.Handle(), &AbandonedReports::Callback, &number));
    ASSERT_TRUE(held.PumpUntilEntered());
    held.Release();
    ASSERT_TRUE(WaitForAStepEndNotHandled());
    EXPECT_TRUE(GatedRender::finished.load());
    PlaybackSession().Stop(false);
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(number)) << "an outcome posted for the stopped play";
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_FALSE(HostSubclassed(host.Handle()));
    EXPECT_TRUE(fluvanttest::Children(host.Handle()).empty()) << "a renderer window was left in the host";
}

// A Stop that reaches the program while the run is waited for (sent by another thread: the wait
// handles nothing posted) gives the host its procedure back at once and is honoured when the wait
// next looks: whether the run has returned by then or is still inside, nothing is posted, nothing
// reported, and the graph goes down.
TEST_F(PlaybackSessionAsyncTest, AStopSentWhileTheRunIsWaitedForIsHonouredWhenTheRunReturnsAndPostsNothing) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowRunSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRun> held;
    fluvanttest::HostWindow host;
    bool subclassedInTheRun = false, givenBackAtOnce = false, runReturned = false;
    SendDuringTheRun stop([&] {
        subclassedInTheRun = HostSubclassed(host.Handle());
        PlaybackSession().Stop(false);
        givenBackAtOnce = !HostSubclassed(host.Handle());
        runReturned = LetTheRunReturn(held);
    });
    DWORD number = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 100), host.Handle(), &AbandonedReports::Callback, &number));
    ASSERT_TRUE(stop.PumpUntilSent()) << "the run was never entered, or the stop never sent";
    EXPECT_TRUE(subclassedInTheRun) << "the run starts once the host is in hand";
    EXPECT_TRUE(givenBackAtOnce) << "the stop left the host subclassed";
    ASSERT_TRUE(runReturned);
    EXPECT_TRUE(GatedRun::finished.load());
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing()) << "the stop sent during the run was dropped: the clip plays";
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    EXPECT_FALSE(HostSubclassed(host.Handle()));
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    EXPECT_TRUE(qeltest::PumpUntil([&] { return fluvanttest::Children(host.Handle()).empty(); }, 5000))
        << "the running graph's video window stayed in the host";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(number)) << "an outcome posted for the stopped play";
    EXPECT_EQ(0, AbandonedReports::count.load()) << "the stopped play reported";
}

TEST_F(PlaybackSessionAsyncTest, AStopSentWhileTheRunHangsEndsTheWaitAtOnceAndTheStepTakesItsGraphDownLater) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowRunSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRun> held;
    fluvanttest::HostWindow host;
    bool givenBackAtOnce = false;
    SendDuringTheRun stop([&] {
        PlaybackSession().Stop(false);
        givenBackAtOnce = !HostSubclassed(host.Handle());
    });
    DWORD number = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 100), host.Handle(), &AbandonedReports::Callback, &number));
    ASSERT_TRUE(stop.PumpUntilSent()) << "the run was never entered, or the stop never sent";
    const DWORD took = GetTickCount() - stop.ActedAt();
    std::printf("figure: the wait for a held run ended %lu ms after the stop sent during it\n",
                static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_FALSE(GatedRun::finished.load()) << "the wait went on until the run returned";
    EXPECT_TRUE(givenBackAtOnce);
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    EXPECT_EQ(1u, PlaybackSession().GraphsGoingDown());

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    EXPECT_TRUE(qeltest::PumpUntil([&] { return fluvanttest::Children(host.Handle()).empty(); }, 5000))
        << "the graph's video window stayed in the host";
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, OutcomeLog::CountOf(number));
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_FALSE(PlaybackSession().Playing()) << "the run's return started the stopped play";
}

TEST_F(PlaybackSessionAsyncTest, AHostDestroyedWhileTheBuildIsUnderWayEndsThePlayWithoutATrace) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowBuildSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRender> held;
    DWORD number = 0;
    {
        fluvanttest::HostWindow host;
        ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 100), host.Handle(), &AbandonedReports::Callback, &number));
        ASSERT_TRUE(held.PumpUntilEntered());
        host.Destroy();
        EXPECT_TRUE(fluvanttest::HostWindow::OwnProcedureAtEnd());
    }
    held.Release();
    // The build comes back to a host that is gone: the play fails (it can tell no one) and its graph goes.
    EXPECT_TRUE(qeltest::PumpUntil(
        [] { return !PlaybackSession().Starting() && PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    EXPECT_TRUE(GatedRender::finished.load());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_TRUE(OutcomeLog::All().empty());

    // The session is sound for the next host.
    PlaybackSession().SetPlatform(nullptr);
    fluvanttest::HostWindow next;
    DWORD again = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("next.avi", 100), next.Handle(), nullptr, &again));
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(again, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(PlaybackSession().Playing());
}

// The host's end while the run is waited for (a Close sent to the program): the host ends with its
// own procedure, and the play ends without a trace.
TEST_F(PlaybackSessionAsyncTest, AHostDestroyedWhileTheRunIsWaitedForEndsWithItsOwnProcedure) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowRunSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRun> held;
    DWORD number = 0;
    {
        fluvanttest::HostWindow host;
        bool subclassedInTheRun = false;
        SendDuringTheRun close([&] {
            subclassedInTheRun = HostSubclassed(host.Handle());
            host.Destroy();
        });
        ASSERT_EQ(S_OK, Begin(MakeClip("clip.avi", 100), host.Handle(), &AbandonedReports::Callback, &number));
        ASSERT_TRUE(close.PumpUntilSent()) << "the run was never entered, or the close never sent";
        EXPECT_TRUE(subclassedInTheRun);
        EXPECT_TRUE(fluvanttest::HostWindow::OwnProcedureAtEnd()) << "the host ended subclassed";
    }
    EXPECT_FALSE(GatedRun::finished.load());
    EXPECT_FALSE(PlaybackSession().Starting());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0, AbandonedReports::count.load());
    EXPECT_TRUE(OutcomeLog::All().empty());

    PlaybackSession().SetPlatform(nullptr);
    fluvanttest::HostWindow next;
    DWORD again = 0;
    ASSERT_EQ(S_OK, Begin(MakeClip("next.avi", 100), next.Handle(), nullptr, &again));
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(again, 10000, &outcome));
    EXPECT_EQ(S_OK, outcome);
    EXPECT_TRUE(PlaybackSession().Playing());
}

TEST_F(PlaybackSessionAsyncTest, ARunThatHangsIsGivenUpItsOutcomePostedAndTheHostGivenBack) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingRunSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<GatedRun> held;
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("clip.avi", 100);
    DWORD number = 0;
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), &ReportLog::Callback, &number));
    // The run is waited for on this thread: the pump that enters it comes back once it is given up.
    ASSERT_TRUE(held.PumpUntilEntered());
    HRESULT outcome = S_OK;
    const bool posted = OutcomeLog::PumpUntilOutcomeOf(number, 15000, &outcome);
    EXPECT_TRUE(posted) << "the given-up play's outcome was never posted to the host";
    if (posted) {
        EXPECT_EQ(kCallTimedOut, outcome);
    }
    EXPECT_TRUE(qeltest::PumpUntil([] { return !PlaybackSession().Starting(); }, 10000)) << "never given up";
    EXPECT_FALSE(GatedRun::finished.load());
    EXPECT_FALSE(HostSubclassed(host.Handle())) << "the given-up play left the host subclassed";
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(0u, ReportLog::Count()) << "a given-up play reported";
    EXPECT_LE(OutcomeLog::All().size(), 1u);
}

TEST_F(PlaybackSessionAsyncTest, AStopThatHangsAfterABegunPlayIsCountedGoingDownThenHoldsTheFileUntilItReturns) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingStopSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingStop> held;
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("long.avi", 100);
    DWORD number = 0;
    ASSERT_EQ(S_OK, Begin(clip, host.Handle(), nullptr, &number));
    HRESULT outcome = E_FAIL;
    ASSERT_TRUE(OutcomeLog::PumpUntilOutcomeOf(number, 10000, &outcome));
    ASSERT_EQ(S_OK, outcome);
    const DWORD began = GetTickCount();
    PlaybackSession().Stop(false);
    const DWORD took = GetTickCount() - began;
    std::printf("figure: the stop of a begun play whose graph's stop hangs came back after %lu ms\n",
                static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << "hang guard";
    EXPECT_TRUE(HangingStop::entered.load());
    EXPECT_FALSE(HangingStop::finished.load());
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(1u, PlaybackSession().GraphsGoingDown());
    EXPECT_FALSE(HostSubclassed(host.Handle()));

    // Past the quiet time it is given up: no longer going down, but the file is held.
    EXPECT_TRUE(qeltest::PumpUntil([&] { return PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    EXPECT_EQ(0u, PlaybackSession().GraphsGoingDown());
    DWORD again = 1;
    EXPECT_EQ(kCallTimedOut, Begin(clip, host.Handle(), nullptr, &again)) << "tried again while its stop hangs";
    EXPECT_EQ(0u, again);

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([&] { return !PlaybackSession().GivenUpPlayHolds(clip.c_str()); }, 10000));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(1u, OutcomeLog::All().size()) << "only the play that started told its outcome";
}


// The sync play keeps one thread behind on a clip that hangs however often Play is pressed (above);
// pressing Play and then Stop, because it does not start, must not leave more.
TEST_F(PlaybackSessionAsyncTest, PlayAndStopPressedTwentyTimesOnAHangingClipLeavesOneThreadBehind) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingRender> held;
    HangingRender::tries = 0;
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("clip.avi", 10);
    int begun = 0;
    for (int press = 0; press < 20; ++press) {
        DWORD number = 0;
        const HRESULT answer = Begin(clip, host.Handle(), nullptr, &number);
        EXPECT_TRUE(answer == S_OK || answer == kCallTimedOut) << "press " << press << ": 0x" << std::hex << answer;
        begun += answer == S_OK ? 1 : 0;
        qeltest::PumpMessagesFor(20);
        PlaybackSession().Stop(false);
    }
    // Past the quiet time every try still inside the platform has been given up.
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    const size_t left = PlaybackSession().GivenUpPlaysRunning();
    std::printf("figure: %d of 20 presses began a play, %d tries came into the hanging build, %u threads left "
                "inside the platform\n",
                begun, HangingRender::tries.load(), static_cast<unsigned>(left));
    EXPECT_EQ(1, HangingRender::tries.load()) << "the clip was tried again while its first try was still inside";
    EXPECT_EQ(1u, left);
    EXPECT_TRUE(PlaybackSession().GivenUpPlayHolds(clip.c_str()));
    EXPECT_TRUE(OutcomeLog::All().empty()) << "an outcome posted for a stopped play";

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GivenUpPlaysRunning() == 0; }, 10000));
}

// Each try of a clip that hangs may leave a thread inside the platform: however the tries end, no
// more are left than the number at which the library stops trying new files.
TEST_F(PlaybackSessionAsyncTest, PlaysOfEightHangingClipsStoppedBeforeTheirOutcomeLeaveNoMoreThanTheLimitBehind) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HangingSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingRender> held;
    HangingRender::tries = 0;
    fluvanttest::HostWindow host;
    std::vector<std::string> clips;
    for (int i = 0; i < 8; ++i)
        clips.push_back(MakeClip("hang" + std::to_string(i) + ".avi", 5));
    for (const std::string& clip : clips) {
        DWORD number = 0;
        const HRESULT answer = Begin(clip, host.Handle(), nullptr, &number);
        EXPECT_TRUE(answer == S_OK || answer == kTooManyGivenUpPlays) << clip << ": 0x" << std::hex << answer;
        qeltest::PumpMessagesFor(20);
        PlaybackSession().Stop(false);
    }
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GraphsGoingDown() == 0; }, 10000));
    const size_t left = PlaybackSession().GivenUpPlaysRunning();
    std::printf("figure: %d tries came into the hanging build, %u threads left inside the platform (limit %u)\n",
                HangingRender::tries.load(), static_cast<unsigned>(left), static_cast<unsigned>(kMaxGivenUpPlays));
    EXPECT_LE(left, kMaxGivenUpPlays);
    EXPECT_LE(HangingRender::tries.load(), static_cast<int>(kMaxGivenUpPlays));

    held.Release();
    EXPECT_TRUE(qeltest::PumpUntil([] { return PlaybackSession().GivenUpPlaysRunning() == 0; }, 10000));
}

// The end of the process waits for a slow take-down while it goes on, and says so when it is cut short;
// the file is said to be held while the graph goes down, and free once it is down.
TEST_F(PlaybackSessionAsyncTest, TheEndWaitsForAGraphGoingDownAndTheFileIsSaidHeldUntilItIsDown) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    SlowStopSystem system;
    PlaybackSession().SetPlatform(&system);
    HeldStep<HangingStop> held;
    fluvanttest::HostWindow host;
    const std::string clip = MakeClip("slow.avi", 100);
    ASSERT_EQ(0, PlaybackSession().Play(clip.c_str(), host.Handle(), 0, 0, nullptr));
    PlaybackSession().Stop(false);
    ASSERT_EQ(1u, PlaybackSession().GraphsGoingDown());
    EXPECT_EQ(lpHeldWhileGoingDown, PlaybackSession().FileHeld(clip.c_str()));

    DWORD began = GetTickCount();
    EXPECT_FALSE(PlaybackSession().WaitUntilGraphsDown(500)) << "a graph still going down was said to be down";
    const DWORD cut = GetTickCount() - began;
    std::printf("figure: a wait of 500 ms for a take-down that does not end came back after %lu ms\n",
                static_cast<unsigned long>(cut));
    EXPECT_LT(cut, 5000u) << "hang guard";

    // Let go a moment after the wait began: the wait sees the graph down and comes back.
    HANDLE release = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            Sleep(300);
            SetEvent(HangingStop::release);
            return 0;
        },
        nullptr, 0, nullptr);
    ASSERT_NE(nullptr, release);
    began = GetTickCount();
    EXPECT_TRUE(PlaybackSession().WaitUntilGraphsDown(10000));
    const DWORD waited = GetTickCount() - began;
    std::printf("figure: the take-down let go after 300 ms was seen down after %lu ms\n",
                static_cast<unsigned long>(waited));
    EXPECT_LT(waited, 5000u) << "hang guard";
    EXPECT_EQ(0u, PlaybackSession().GraphsGoingDown());
    EXPECT_EQ(lpNotHeld, PlaybackSession().FileHeld(clip.c_str()));
    EXPECT_EQ(0u, PlaybackSession().GivenUpPlaysRunning());
    WaitForSingleObject(release, 5000);
    CloseHandle(release);
}

} // namespace
