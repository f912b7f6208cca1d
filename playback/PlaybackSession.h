#pragma once
// CPlaybackSession: the one playback of the library. It renders the file into its own graph, makes
// the renderer's window a child of the host, keeps it fitted to the host, reports the position from a
// low-priority thread and stops on lpStop, a new play, the host's end or the graph's end. The calls
// into the graph that a file or a renderer can hang (building, running, stopping and taking it down)
// run on threads of their own (BoundedCall.h): a graph that makes no progress is given up, never
// waited for, so the caller's (the user-interface) thread always comes back; a slow one is waited for.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

#include "BoundedCall.h"
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
constexpr CallLimit kPositionReadLimit = {5000, 10000};
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
extern const char kNotificationClass[]; // "DirectShow Notification"

class CPlaybackSession {
public:
    CPlaybackSession();
    virtual ~CPlaybackSession();
    CPlaybackSession(const CPlaybackSession&) = delete;
    CPlaybackSession& operator=(const CPlaybackSession&) = delete;

    // 0 when the file plays (or when there is no file or host: nothing to play); else why it does not:
    // the render's or the run's failure, or kCallTimedOut when the graph did not answer in time.
    int Play(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback);
    // hostGone: the host window is being destroyed (its procedure must not be put back). Called from
    // the progress thread (a callback that stops), it ends the reports at once and leaves the rest
    // of the stop to the caller's thread, which owns the windows and the graph.
    void Stop(bool hostGone);

    bool Playing() const { return playing_; }
    HWND NotificationWindow() const { return notifyWindow_; }
    IGraphBuilder* Graph() const { return graph_.Get(); }
    // Replaces the platform (tests); null puts the real one back.
    void SetPlatform(PlaybackPlatform* platform);
    // Whether a given-up play of file still has a thread inside the platform, which may hold the file
    // open: it lets go of it when that thread comes back.
    bool GivenUpPlayHolds(const char* file);
    // Given-up plays whose thread has not come back yet.
    size_t GivenUpPlaysRunning();

    // The library's window procedures.
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void AddRenderers(qel::ComPtr<IUnknown>* mixerConfig);
    // On kCallTimedOut, stuckThread receives the thread still inside the call (owned by the caller).
    HRESULT BuildGraph(const char* file, LONGLONG start, HANDLE* stuckThread);
    HRESULT RunGraph(HANDLE* stuckThread);
    void ReportStopPosition();
    void TakeDownGraph();
    // Lets go of the graph without another call into it (it did not answer), and of the rest; its
    // thread (still inside the call) is kept count of with the file.
    void GiveUpGraph(HANDLE stuckThread);
    void NoteRendererWindows(const std::vector<HWND>& before);
    void ForgetEndedGivenUpPlays();
    void ForgetPlayback();
    // Ends a play that cannot go on (why), without a report; its answer.
    int FailPlay(HRESULT why, bool hostGone);
    void HandleGraphEvents();
    void FitVideoToHost();

    struct GivenUpPlay {
        std::string file;
        std::shared_ptr<Win32Handle> thread; // signalled once it has come back
    };

    LONGLONG start_ = 0;
    LONGLONG stop_ = 0;
    std::unique_ptr<CProgressThread> progress_;
    HWND host_ = nullptr;
    qel::ComPtr<IVideoWindow> videoWindow_;
    qel::ComPtr<IMediaEventEx> events_;
    qel::ComPtr<IMediaControl> control_;
    qel::ComPtr<IGraphBuilder> graph_;
    qel::ComPtr<IMediaSeeking> seeking_;
    DWORD user_ = 0;
    lpProgressCallback callback_ = nullptr;
    HWND notifyWindow_ = nullptr;
    bool playing_ = false;
    bool stopping_ = false; // a stop is under way: stops from its callbacks return at once
    bool starting_ = false; // a play waits for its graph: plays and stops from sent messages return
    CCritSec lock_;
    WNDPROC savedHostProc_ = nullptr;
    std::string file_;
    std::vector<HWND> rendererWindows_; // the host's children the graph put there, hidden on a give-up
    std::vector<GivenUpPlay> givenUp_;
    PlaybackPlatform defaultPlatform_;
    PlaybackPlatform* platform_ = &defaultPlatform_;
};

// The library's one session; the window class is registered with it.
CPlaybackSession& PlaybackSession();
// Registers "DirectShow Notification" for the process (done when the library is loaded).
bool RegisterNotificationClass();
