// Playing one file into the host window, its progress thread and its stop.
#include "PlaybackSession.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "BoundedCall.h"
#include "GraphHelper.h"
#include "MixerPinConfig.h"
#include "ReaderClsids.h"

const char kNotificationClass[] = "DirectShow Notification";

namespace {

// A stopped graph answers at once; the limit keeps the caller's (the user-interface) thread from ever
// waiting for good on a graph that does not.
constexpr LONG kStopCompletionMs = 500;

// Sets a flag for a scope, clearing it however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

CGraphHelper& Helper() {
    static CGraphHelper helper;
    return helper;
}

// The pin of the filter with that name, or null.
qel::ComPtr<IPin> PinNamed(IBaseFilter* filter, const wchar_t* name) {
    qel::ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(&pins)) || !pins)
        return nullptr;
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_INFO info = {};
        if (FAILED(pin->QueryPinInfo(&info)))
            continue;
        if (info.pFilter)
            info.pFilter->Release();
        if (wcscmp(info.achName, name) == 0)
            return pin;
    }
    return nullptr;
}

bool WindowExists(HWND window) { return window && IsWindow(window); }

bool SameFile(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    if (!WindowExists(parent))
        return children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

} // namespace

HRESULT PlaybackPlatform::CreateFilter(REFCLSID clsid, IBaseFilter** filter) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

int PlaybackPlatform::MajorVersion() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    return known ? static_cast<int>(version.dwMajorVersion) : 0;
}

CPlaybackSession& PlaybackSession() {
    static CPlaybackSession session;
    return session;
}

bool RegisterNotificationClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = CPlaybackSession::NotifyProc;
    windowClass.hInstance = GetModuleHandleA(nullptr); // the process's, as the class is the process's
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.lpszClassName = kNotificationClass;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CPlaybackSession::CPlaybackSession() = default;

CPlaybackSession::~CPlaybackSession() = default;

void CPlaybackSession::SetPlatform(PlaybackPlatform* platform) { platform_ = platform ? platform : &defaultPlatform_; }

void CPlaybackSession::AddRenderers(qel::ComPtr<IUnknown>* mixerConfig) {
    bool wantOverlay = true;
    if (platform_->MajorVersion() > 4) {
        qel::ComPtr<IBaseFilter> mixing;
        if (SUCCEEDED(platform_->CreateFilter(qelclsid::kVideoMixingRenderer, mixing.GetAddressOf())) &&
            SUCCEEDED(graph_->AddFilter(mixing.Get(), L"Video Mixing Render")))
            wantOverlay = false;
    } else {
        qel::ComPtr<IBaseFilter> renderer;
        if (SUCCEEDED(platform_->CreateFilter(qelclsid::kVideoRenderer, renderer.GetAddressOf())))
            graph_->AddFilter(renderer.Get(), L"Video Render");
    }
    if (!wantOverlay)
        return;
    qel::ComPtr<IBaseFilter> overlay;
    if (FAILED(platform_->CreateFilter(qelclsid::kOverlayMixer, overlay.GetAddressOf())) ||
        FAILED(graph_->AddFilter(overlay.Get(), L"OverlayMixer")))
        return;
    qel::ComPtr<IBaseFilter> found = qel::TakeOver(Helper().FindFilterByClsid(graph_.Get(), qelclsid::kOverlayMixer));
    qel::ComPtr<IPin> input = PinNamed(found.Get(), L"Input0");
    if (!input || FAILED(input->QueryInterface(kIidMixerPinConfig, reinterpret_cast<void**>(mixerConfig->GetAddressOf()))))
        graph_->RemoveFilter(overlay.Get());
}

HRESULT RunMediaGraph(IMediaControl* control, IMediaEventEx*) {
    const HRESULT ran = control->Run();
    if (ran == S_FALSE) {
        OAFilterState state = 0;
        control->GetState(2000, &state);
    }
    return ran;
}

HRESULT StopMediaGraph(IMediaControl* control, IMediaEventEx* events) {
    const HRESULT result = control->Stop();
    if (SUCCEEDED(result) && events) {
        long code = 0;
        events->WaitForCompletion(kStopCompletionMs, &code);
    }
    return result;
}

HRESULT RenderMediaFile(IGraphBuilder* graph, const char* file) {
    if (Helper().IsAsfFile(file))
        return Helper().BuildAsfGraph(file, graph, 3, nullptr, nullptr);
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
    wide[MAX_PATH - 1] = 0;
    return graph->RenderFile(wide, nullptr);
}

namespace {

// What the build step hands back; shared, as the step may end after its play was given up.
struct BuildOutcome {
    LONGLONG stop = 0;
};

} // namespace

HRESULT CPlaybackSession::BuildGraph(const char* file, LONGLONG start, HANDLE* stuckThread) {
    qel::ComPtr<IUnknown> mixerConfig;
    AddRenderers(&mixerConfig);
    auto outcome = std::make_shared<BuildOutcome>();
    outcome->stop = stop_;
    const RenderStep render = platform_->Renderer();
    qel::ComPtr<IGraphBuilder> graph = graph_;
    const std::string path = file;
    const HRESULT rendered = CallWithLimit(
        [graph, path, render, start, outcome]() -> HRESULT {
            const HRESULT result = render(graph.Get(), path.c_str());
            Helper().RemoveUnconnectedFilters(graph.Get());
            qel::ComPtr<IMediaSeeking> seeking;
            if (FAILED(graph.As(&seeking)) || !seeking)
                return result;
            if (outcome->stop == 0)
                seeking->GetDuration(&outcome->stop);
            seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
            LONGLONG duration = 0;
            seeking->GetDuration(&duration);
            // The kept stop (the reports compare with it) is not clamped; only the seek is.
            LONGLONG seekStop = outcome->stop == 0 || outcome->stop > duration ? duration : outcome->stop;
            LONGLONG seekStart = start;
            seeking->SetPositions(&seekStart, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, &seekStop,
                                  AM_SEEKING_AbsolutePositioning);
            return result;
        },
        platform_->GraphLimit(), stuckThread);
    if (rendered == kCallTimedOut) {
        mixerConfig.Reset();
        return rendered;
    }
    if (mixerConfig) {
        static_cast<IMixerPinConfig*>(mixerConfig.Get())->SetAspectRatioMode(kAspectLetterBox);
        mixerConfig.Reset();
    }
    graph_.As(&seeking_);
    stop_ = outcome->stop;
    return rendered;
}

HRESULT CPlaybackSession::RunGraph(HANDLE* stuckThread) {
    qel::ComPtr<IMediaControl> control = control_;
    qel::ComPtr<IMediaEventEx> events = events_;
    const ControlStep run = platform_->Runner();
    return CallWithLimit([control, events, run]() { return run(control.Get(), events.Get()); },
                         platform_->GraphLimit(), stuckThread);
}

int CPlaybackSession::Play(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback) {
    if (starting_ || stopping_)
        return E_PENDING; // from a message sent while a play or a stop waits for its graph
    Stop(false);
    if (!file || !host)
        return 0;
    ForgetEndedGivenUpPlays();
    if (GivenUpPlayHolds(file))
        return kCallTimedOut; // its last try is still inside the platform: another would stick too
    if (givenUp_.size() >= kMaxGivenUpPlays)
        return kTooManyGivenUpPlays;
    FlagScope starting(starting_);
    file_ = file;
    host_ = host;
    callback_ = callback;
    user_ = 0;
    start_ = start;
    stop_ = stop;
    const HRESULT created = CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                             reinterpret_cast<void**>(graph_.GetAddressOf()));
    if (FAILED(created)) {
        ForgetPlayback();
        return created;
    }
    graph_.As(&control_);
    graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(events_.GetAddressOf()));
    graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(videoWindow_.GetAddressOf()));

    HANDLE stuckThread = nullptr;
    const HRESULT rendered = BuildGraph(file, start, &stuckThread);
    if (rendered == kCallTimedOut) {
        GiveUpGraph(stuckThread);
        return rendered;
    }
    if (FAILED(rendered) || !control_)
        return FailPlay(FAILED(rendered) ? rendered : E_NOINTERFACE, false);
    if (!WindowExists(host_))
        return FailPlay(E_ABORT, true); // the host went while the graph was built

    if (notifyWindow_)
        DestroyWindow(notifyWindow_);
    notifyWindow_ = CreateWindowExA(0, kNotificationClass, "q&l", WS_OVERLAPPEDWINDOW, 100, 100, 300, 300,
                                    GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (videoWindow_) {
        const std::vector<HWND> before = ChildWindows(host_);
        videoWindow_->put_Owner(reinterpret_cast<OAHWND>(host_));
        NoteRendererWindows(before);
        videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        RECT client = {};
        GetClientRect(host_, &client);
        videoWindow_->SetWindowPosition(client.left, client.top, client.right - client.left, client.bottom - client.top);
    }
    if (events_)
        events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_), kGraphNotifyMessage, 0);

    savedHostProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPlaybackSession::HostProc)));
    if (videoWindow_) {
        videoWindow_->put_AutoShow(OAFALSE);
        videoWindow_->put_Visible(OAFALSE);
    }
    const HRESULT ran = RunGraph(&stuckThread);
    if (ran == kCallTimedOut) {
        GiveUpGraph(stuckThread);
        return ran;
    }
    {
        // Before the reports start: a callback may stop the playback at its first report.
        CAutoLock hold(&lock_);
        playing_ = true;
    }
    if (FAILED(ran))
        return FailPlay(ran, !WindowExists(host_));
    if (videoWindow_)
        videoWindow_->put_Visible(OATRUE);
    progress_.reset(new CProgressThread);
    if (seeking_)
        progress_->Start(seeking_.Get(), callback_, start_, stop_, user_, kProgressPeriodMs);
    return 0;
}

int CPlaybackSession::FailPlay(HRESULT why, bool hostGone) {
    // Nothing played, so nothing is reported; the graph goes as a stop takes it down.
    callback_ = nullptr;
    playing_ = true;
    starting_ = false;
    Stop(hostGone);
    return why;
}

void CPlaybackSession::Stop(bool hostGone) {
    std::unique_ptr<CProgressThread> progress;
    {
        CAutoLock hold(&lock_);
        if (!playing_ || stopping_ || starting_)
            return;
        if (progress_ && progress_->IsCurrentThread()) {
            // Waiting here would wait on this very thread, and the windows and the graph belong to the
            // caller's thread: no more reports, and the caller's thread finishes the stop.
            progress_->Detach();
            if (notifyWindow_)
                PostMessageA(notifyWindow_, kStopRequestMessage, 0, 0);
            return;
        }
        stopping_ = true;
        progress = std::move(progress_);
    }
    if (progress) {
        // Past this no report reaches the callback, unless one is blocked in it past the limit.
        progress->Detach(kProgressEndLimitMs);
        progress.reset();
    }

    CAutoLock hold(&lock_);
    ReportStopPosition();
    if (events_)
        events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
    if (!hostGone && WindowExists(host_) && savedHostProc_)
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    TakeDownGraph();
    ForgetPlayback();
    stopping_ = false;
}

void CPlaybackSession::ReportStopPosition() {
    if (!seeking_ || !callback_)
        return;
    auto current = std::make_shared<LONGLONG>(0);
    qel::ComPtr<IMediaSeeking> seeking = seeking_;
    const HRESULT read =
        CallWithLimit([seeking, current]() { return seeking->GetCurrentPosition(current.get()); }, kPositionReadLimit);
    if (SUCCEEDED(read) && *current < stop_)
        callback_(start_, stop_, *current, user_);
}

void CPlaybackSession::TakeDownGraph() {
    if (!graph_)
        return;
    // Only the stop waits on the graph's threads (a renderer's among them, which may need this thread
    // to answer): it runs with the limit. The rest, and the last release, stay on this thread, which
    // made the renderers and owns their windows.
    qel::ComPtr<IMediaControl> control = control_;
    qel::ComPtr<IMediaEventEx> events = events_;
    const ControlStep stop = platform_->Stopper();
    HANDLE stuckThread = nullptr;
    const HRESULT stopped = CallWithLimit(
        [control, events, stop]() -> HRESULT { return control ? stop(control.Get(), events.Get()) : S_OK; },
        platform_->GraphLimit(), &stuckThread);
    if (stopped == kCallTimedOut) {
        GiveUpGraph(stuckThread); // the stopping thread keeps the graph alive for as long as it is inside
        return;
    }
    if (WindowExists(host_) && videoWindow_) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_Owner(0);
    }
    qel::ComPtr<IBaseFilter> source = qel::TakeOver(Helper().FindSourceFilter(graph_.Get()));
    if (source) {
        Helper().RemoveDownstream(graph_.Get(), source.Get());
        graph_->RemoveFilter(source.Get());
    }
    control_.Reset();
    events_.Reset();
    videoWindow_.Reset();
    graph_.Reset();
    seeking_.Reset();
}

void CPlaybackSession::GiveUpGraph(HANDLE stuckThread) {
    if (events_)
        events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
    if (WindowExists(host_) && savedHostProc_)
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    // The graph's frozen picture must not stay over the host; the renderer's thread may be the one
    // that hangs, so the hide is not waited for.
    for (HWND window : rendererWindows_)
        if (IsWindow(window))
            ShowWindowAsync(window, SW_HIDE);
    if (stuckThread)
        givenUp_.push_back({file_, std::make_shared<Win32Handle>(stuckThread)});
    // Only references are dropped: the thread still inside the graph holds its own.
    control_.Reset();
    events_.Reset();
    videoWindow_.Reset();
    seeking_.Reset();
    graph_.Reset();
    ForgetPlayback();
}

void CPlaybackSession::ForgetPlayback() {
    if (notifyWindow_) {
        SendMessageA(notifyWindow_, WM_CLOSE, 0, 0);
        if (IsWindow(notifyWindow_))
            DestroyWindow(notifyWindow_);
        notifyWindow_ = nullptr;
    }
    savedHostProc_ = nullptr;
    rendererWindows_.clear();
    file_.clear();
    host_ = nullptr;
    callback_ = nullptr;
    user_ = 0;
    playing_ = false;
}

void CPlaybackSession::NoteRendererWindows(const std::vector<HWND>& before) {
    rendererWindows_.clear();
    for (HWND child : ChildWindows(host_))
        if (std::find(before.begin(), before.end(), child) == before.end())
            rendererWindows_.push_back(child);
}

void CPlaybackSession::ForgetEndedGivenUpPlays() {
    for (auto it = givenUp_.begin(); it != givenUp_.end();)
        it = WaitForSingleObject(it->thread->Get(), 0) == WAIT_OBJECT_0 ? givenUp_.erase(it) : it + 1;
}

bool CPlaybackSession::GivenUpPlayHolds(const char* file) {
    if (!file)
        return false;
    ForgetEndedGivenUpPlays();
    for (const GivenUpPlay& play : givenUp_)
        if (SameFile(play.file, file))
            return true;
    return false;
}

size_t CPlaybackSession::GivenUpPlaysRunning() {
    ForgetEndedGivenUpPlays();
    return givenUp_.size();
}

void CPlaybackSession::HandleGraphEvents() {
    if (!events_)
        return;
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (events_ && events_->GetEvent(&code, &first, &second, 0) == S_OK) {
        events_->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE || code == EC_END_OF_SEGMENT || code == EC_USERABORT ||
            code == EC_STREAM_ERROR_STOPPED || code == EC_WINDOW_DESTROYED) {
            const lpProgressCallback callback = callback_;
            const DWORD user = user_;
            const LONGLONG start = start_, stop = stop_;
            Stop(code == EC_WINDOW_DESTROYED);
            // The last report always says the stop was reached.
            if (callback)
                callback(start, stop, stop, user);
            return;
        }
    }
}

void CPlaybackSession::FitVideoToHost() {
    if (!videoWindow_ || !WindowExists(host_))
        return;
    RECT client = {};
    GetClientRect(host_, &client);
    videoWindow_->SetWindowPosition(client.left, client.top, client.right - client.left, client.bottom - client.top);
}

LRESULT CALLBACK CPlaybackSession::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CPlaybackSession& session = PlaybackSession();
    const WNDPROC saved = session.savedHostProc_;
    switch (message) {
    case WM_SIZE:
        if (session.notifyWindow_)
            SetTimer(session.notifyWindow_, kResizeTimer, kResizeDelayMs, nullptr);
        break;
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY: {
        const LRESULT result = saved ? CallWindowProcA(saved, window, message, wParam, lParam)
                                     : DefWindowProcA(window, message, wParam, lParam);
        session.Stop(false);
        return result;
    }
    default:
        break;
    }
    return saved ? CallWindowProcA(saved, window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CPlaybackSession::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CPlaybackSession& session = PlaybackSession();
    if (message == WM_TIMER) {
        KillTimer(window, wParam);
        session.FitVideoToHost();
        return 0;
    }
    if (message == kGraphNotifyMessage) {
        session.HandleGraphEvents();
        return 0;
    }
    if (message == kStopRequestMessage) {
        session.Stop(false);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
