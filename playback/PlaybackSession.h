#pragma once
// CPlaybackSession: the one playback of the library. It renders the file into its own graph, makes
// the renderer's window a child of the host, keeps it fitted to the host, reports the position from a
// low-priority thread and stops on lpStop, a new play, the host's end or the graph's end.
#include <windows.h>
#include <dshow.h>

#include <memory>

#include "qeldshow/com_ptr.h"
#include "Fluvant.h"
#include "ProgressThread.h"
#include "qeldshow/critical_section.h"

// What the session asks of the system, replaceable by tests: filters by class id and the system's
// major version (which picks the renderer).
struct PlaybackPlatform {
    virtual ~PlaybackPlatform() = default;
    virtual HRESULT CreateFilter(REFCLSID clsid, IBaseFilter** filter);
    virtual int MajorVersion(); // 0 when unknown
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

    // The library's window procedures.
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void AddRenderers(qel::ComPtr<IUnknown>* mixerConfig);
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
    DWORD user_ = 0;
    lpProgressCallback callback_ = nullptr;
    HWND notifyWindow_ = nullptr;
    bool playing_ = false;
    bool stopping_ = false; // a stop is under way: stops from its callbacks return at once
    CCritSec lock_;
    WNDPROC savedHostProc_ = nullptr;
    PlaybackPlatform defaultPlatform_;
    PlaybackPlatform* platform_ = &defaultPlatform_;
};

// The library's one session; the window class is registered with it.
CPlaybackSession& PlaybackSession();
// Registers "DirectShow Notification" for the process (done when the library is loaded).
bool RegisterNotificationClass();
