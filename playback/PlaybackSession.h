#pragma once
// CPlaybackSession: the one playback of the library. It renders the file into its own graph, makes
// the renderer's window a child of the host, keeps it fitted to the host, reports the position from a
// low-priority thread and stops on lpStop, a new play, the host's end or the graph's end. The calls
// into the graph that a file or a renderer can hang (building, running, stopping and taking it down)
// run as steps on threads of their own (BoundedCall.h), watched for progress: a graph that makes none
// is given up, a slow one is waited for. A play started with BeginPlay never waits on its steps: each
// step's end comes back to the caller's thread as a message, and the play's outcome is posted to its
// host. A stop waits for the take-down only briefly; the rest goes on behind it.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoundedCall.h"
#include "Win32Handle.h"
#include "qeldshow/com_ptr.h"
#include "Fluvant.h"
#include "ProgressThread.h"
#include "qeldshow/critical_section.h"

// Renders file into graph: the step of a play that a damaged file can hang. A plain function, as it
// may still run after its play was given up.
using RenderStep = HRESULT (*)(IGraphBuilder* graph, const char* file);
HRESULT RenderMediaFile(IGraphBuilder* graph, const char* file);
// Runs and stops a built graph: the steps a renderer can hang. Plain functions for the same reason.
using ControlStep = HRESULT (*)(IMediaControl* control, IMediaEventEx* events);
HRESULT RunMediaGraph(IMediaControl* control, IMediaEventEx* events);
HRESULT StopMediaGraph(IMediaControl* control, IMediaEventEx* events);

// How long the graph's calls may go without progress, and in all: generous, as a busy machine makes a
// healthy graph slow; a clip that hangs the platform is given up after the quiet time.
constexpr CallLimit kGraphCallLimit = {10000, 30000};
// The stop's read of the position is waited for only briefly: the last position read stands in for it.
constexpr CallLimit kPositionReadLimit = {200, 200};
// Given-up plays whose thread is still inside the platform: a file among them is not tried again
// until its thread has come back, and at this number no new file is tried (each such try may leave
// one more thread behind).
constexpr size_t kMaxGivenUpPlays = 4;
// The answer of a play refused because too many given-up plays are still inside the platform.
constexpr HRESULT kTooManyGivenUpPlays = HRESULT_FROM_WIN32(ERROR_BUSY);

// What the session asks of the system, replaceable by tests: filters by class id, the system's
// major version (which picks the renderer) and the render step.
struct PlaybackPlatform {
    virtual ~PlaybackPlatform() = default;
    virtual HRESULT CreateFilter(REFCLSID clsid, IBaseFilter** filter);
    virtual int MajorVersion(); // 0 when unknown
    virtual RenderStep Renderer() { return &RenderMediaFile; }
    virtual ControlStep Runner() { return &RunMediaGraph; }
    virtual ControlStep Stopper() { return &StopMediaGraph; }
    virtual CallLimit GraphLimit() { return kGraphCallLimit; }
};

constexpr UINT kGraphNotifyMessage = 1251;
constexpr UINT_PTR kResizeTimer = 2222;
constexpr UINT kResizeDelayMs = 300;
constexpr DWORD kProgressPeriodMs = 67;
// How long a stop waits for the progress thread to leave the caller's callback. Detached first, the
// thread can no longer touch the graph, so a callback that blocks only delays the stop this long.
constexpr DWORD kProgressEndLimitMs = 500;
// Posted to the notification window when the progress thread itself asks for the stop.
constexpr UINT kStopRequestMessage = WM_APP + 0x4E3;
// Posted to the work window when a graph step has returned; its watch ticks on a timer meanwhile.
constexpr UINT kStepEndedMessage = WM_APP + 0x4E4;
constexpr UINT_PTR kStepWatchTimer = 2223;
constexpr UINT kStepWatchMs = 250;
// How long a stop waits for its graph to be taken down before it goes on behind the caller: a healthy
// graph is down by then, and the caller's thread is back in time to answer its user.
constexpr DWORD kTakeDownWaitMs = 300;
extern const char kNotificationClass[]; // "DirectShow Notification"

// A play's graph as its steps on other threads hold it: the step running when its play is given up or
// stopped keeps it, and takes it down itself once it returns.
struct PlayGraph {
    enum Fate { kStepRunning, kStepEnded, kStepAbandoned };
    qel::ComPtr<IGraphBuilder> graph;
    qel::ComPtr<IMediaControl> control;
    qel::ComPtr<IMediaEventEx> events;
    qel::ComPtr<IVideoWindow> videoWindow;
    ControlStep stopper = &StopMediaGraph;
    HWND host = nullptr; // its video window is hidden and let go of while this is a window
    LONGLONG stop = 0;   // the kept stop, completed by the build
    std::atomic<int> fate{kStepRunning};
};
// Stops the graph, hides its video window and takes the graph down, letting go of every reference it
// holds: a plain function, as it runs on a step's thread. The stop's answer.
HRESULT TakeDownPlayGraph(PlayGraph& graph);

class CPlaybackSession {
public:
    CPlaybackSession();
    virtual ~CPlaybackSession();
    CPlaybackSession(const CPlaybackSession&) = delete;
    CPlaybackSession& operator=(const CPlaybackSession&) = delete;

    // 0 when the file plays (or when there is no file or host: nothing to play); else why it does not:
    // the render's or the run's failure, or kCallTimedOut when the graph did not answer in time.
    // Waits for the graph, handling sent messages.
    int Play(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback);
    // The same play without waiting: S_OK when it is under way, and its outcome (what Play answers)
    // is posted to host as outcomeMessage with lParam = *number; S_FALSE when there is nothing to play;
    // else why it could not start (nothing is posted then). lpStop before the outcome abandons it.
    HRESULT BeginPlay(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback,
                      UINT outcomeMessage, DWORD* number);
    // hostGone: the host window is being destroyed (its procedure must not be put back). Called from
    // the progress thread (a callback that stops), it ends the reports at once and leaves the rest
    // of the stop to the caller's thread, which owns the windows and the graph. Called from a message
    // sent while a play is waited for, it gives the host its procedure back at once and the wait
    // honours the stop when it next looks (Play then answers E_ABORT if nothing played yet).
    void Stop(bool hostGone);

    bool Playing() const { return playing_; }
    // A play is under way: its graph is being built or started, or it waits for an earlier graph to
    // be down.
    bool Starting() const { return step_ || queued_; }
    HWND NotificationWindow() const { return notifyWindow_; }
    IGraphBuilder* Graph() const { return graph_.Get(); }
    // Replaces the platform (tests); null puts the real one back.
    void SetPlatform(PlaybackPlatform* platform);
    // Whether plays started from now on show their video window (the default; shown just before the
    // run) or keep it hidden, for a host that draws the frames itself.
    void SetVideoShown(bool shown) { videoShown_ = shown; }
    // Whether a given-up play of file still has a thread inside the platform, which may hold the file
    // open: it lets go of it when that thread comes back.
    bool GivenUpPlayHolds(const char* file);
    // What of the library may hold file open: a given-up play (it lets go only when its thread comes
    // back), a graph still going down (it lets go once down, or is given up if it makes no progress),
    // or nothing. Looks at the graphs going down first.
    LpFileHold FileHeld(const char* file);
    // Given-up plays whose thread has not come back yet.
    size_t GivenUpPlaysRunning();
    // Graphs of stopped or abandoned plays still being taken down (not given up).
    size_t GraphsGoingDown() const { return goingDown_.size(); }
    // Waits at most ms, handling sent messages, until no graph is going down (each is down, or given
    // up as it made no progress); whether none is.
    bool WaitUntilGraphsDown(DWORD ms);
    // Threads of the session still inside the platform: given-up plays, graphs going down and a
    // play's step under way.
    size_t ThreadsLeftInside();

    // The library's window procedures.
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class Phase { kIdle, kBuilding, kRunning, kPlaying };

    // The renderers this thread made for a graph (their windows are this thread's: they are let go of
    // here), and the windows they put in the host (hidden when the graph is given up).
    struct Renderers {
        std::vector<qel::ComPtr<IBaseFilter>> filters;
        std::vector<HWND> windows;
    };
    // A graph on its way down on a step's thread.
    struct GoingDown {
        std::string file;
        std::unique_ptr<CWatchedTask> step;
        Renderers renderers;
    };
    // A graph whose step made no progress: its thread is still inside the platform.
    struct GivenUpPlay {
        std::string file;
        std::shared_ptr<Win32Handle> thread; // signalled once it has come back
        Renderers renderers;                 // let go of here once it has
    };

    void AddRenderers(qel::ComPtr<IUnknown>* mixerConfig);
    // A play asked for: it starts once no earlier graph is still going down, so that graphs never pile
    // up inside the platform however fast plays and stops follow each other.
    struct PlayRequest {
        std::string file;
        HWND host = nullptr;
        LONGLONG start = 0;
        LONGLONG stop = 0;
        lpProgressCallback callback = nullptr;
        UINT outcomeMessage = 0;
        DWORD number = 0;
    };
    // Creates the graph and starts its build: S_OK, or why not (nothing is left of the play then).
    HRESULT StartPlay(const PlayRequest& request);
    // Starts the queued play once the graphs going down are down; its refusal is posted.
    void StartQueuedPlay();
    // Starts step on its own thread as the play's next phase; false (the play concluded) when it cannot.
    bool StartStep(std::function<HRESULT()> step, Phase phase);
    void StartBuild(LONGLONG start);
    void AfterBuild(HRESULT rendered);
    void AfterRun(HRESULT ran);
    // Looks at the play's step and goes on with the play when it has returned.
    void AdvancePlay();
    void LookAtGraphsGoingDown();
    void LookAtWork(); // both, on the work window's message or timer
    // Play's wait for its play to start (or fail, or be stopped).
    void WaitForPlay();
    void StopNow(bool hostGone);
    // A stop asked for while a wait is under way: kept for the wait, the host given back its procedure.
    void AskStopAfterWait(bool hostGone);
    // Carries out a stop asked for during a wait; whether one was.
    bool HonourAskedStop();
    // Ends the play with its outcome: posted to the host, or kept for Play.
    void Conclude(HRESULT outcome);
    // The stop's one report of the position: read from the graph when it answers in time, else the
    // last position the progress thread read (lastSeen).
    void ReportStopPosition(LONGLONG lastSeen);
    // Ends a play that runs (or failed to start): the graph goes down behind the caller.
    void EndPlayback(bool hostGone);
    // Lets go of a play whose step is still running: the step takes its graph down when it returns.
    void AbandonStep();
    // Hands the graph to a step that takes it down; waits for it at most waitMs.
    void TakeDownGraph(DWORD waitMs);
    // Lets go of a graph whose step did not answer; its thread is kept count of with the file.
    void GiveUp(const std::string& file, HANDLE stuckThread, Renderers renderers);
    void DropGraphReferences();
    void NoteRendererWindows(const std::vector<HWND>& before);
    void ForgetEndedGivenUpPlays();
    void ForgetPlayback();
    HWND WorkWindow();
    // Ends a play that cannot go on (why), without a report.
    void FailPlay(HRESULT why, bool hostGone);
    void HandleGraphEvents();
    void FitVideoToHost();

    LONGLONG start_ = 0;
    LONGLONG stop_ = 0;
    std::unique_ptr<CProgressThread> progress_;
    HWND host_ = nullptr;
    qel::ComPtr<IVideoWindow> videoWindow_;
    qel::ComPtr<IMediaEventEx> events_;
    qel::ComPtr<IMediaControl> control_;
    qel::ComPtr<IGraphBuilder> graph_;
    qel::ComPtr<IMediaSeeking> seeking_;
    qel::ComPtr<IUnknown> mixerConfig_; // the Overlay Mixer's pin configuration, between build and run
    std::shared_ptr<PlayGraph> playGraph_; // what the play's steps hold
    std::unique_ptr<CWatchedTask> step_;   // the build or the run under way
    std::unique_ptr<PlayRequest> queued_;  // the play waiting for earlier graphs to be down
    Phase phase_ = Phase::kIdle;
    DWORD user_ = 0;
    lpProgressCallback callback_ = nullptr;
    HWND notifyWindow_ = nullptr;
    HWND workWindow_ = nullptr; // the steps' ends and their watch; made on the caller's thread
    bool playing_ = false;
    bool stopping_ = false; // a stop is under way: stops from its callbacks return at once
    bool waiting_ = false;  // Play waits for its graph: plays and stops from sent messages return
    bool videoShown_ = true;
    bool looking_ = false;  // the work is being looked at: a nested look returns
    bool stopAsked_ = false; // a stop came while a wait was under way
    bool stopAskedHostGone_ = false;
    UINT outcomeMessage_ = 0; // 0: Play waits for the outcome itself
    DWORD playNumber_ = 0;    // the number of the latest play asked for
    DWORD outcomeNumber_ = 0; // the number of the play under way
    HRESULT outcome_ = S_OK;
    CCritSec lock_;
    WNDPROC savedHostProc_ = nullptr;
    std::string file_;
    Renderers renderers_;
    std::vector<GoingDown> goingDown_;
    std::vector<GivenUpPlay> givenUp_;
    PlaybackPlatform defaultPlatform_;
    PlaybackPlatform* platform_ = &defaultPlatform_;
};

// The library's one session; the window class is registered with it.
CPlaybackSession& PlaybackSession();
// Registers "DirectShow Notification" for the process (done when the library is loaded).
bool RegisterNotificationClass();
