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
#include "SentMessageWait.h"

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

CPlaybackSession::~CPlaybackSession() {
    // At the process's end graphs may still be going down on their threads: the renderers they hold
    // are left to the process's end rather than released under a step still inside them.
    for (GoingDown& going : goingDown_)
        for (auto& filter : going.renderers.filters)
            filter.Detach();
    for (GivenUpPlay& play : givenUp_)
        for (auto& filter : play.renderers.filters)
            filter.Detach();
}

void CPlaybackSession::SetPlatform(PlaybackPlatform* platform) { platform_ = platform ? platform : &defaultPlatform_; }

void CPlaybackSession::AddRenderers(qel::ComPtr<IUnknown>* mixerConfig) {
    bool wantOverlay = true;
    if (platform_->MajorVersion() > 4) {
        qel::ComPtr<IBaseFilter> mixing;
        if (SUCCEEDED(platform_->CreateFilter(qelclsid::kVideoMixingRenderer, mixing.GetAddressOf())) &&
            SUCCEEDED(graph_->AddFilter(mixing.Get(), L"Video Mixing Render"))) {
            wantOverlay = false;
            renderers_.filters.push_back(mixing);
        }
    } else {
        qel::ComPtr<IBaseFilter> renderer;
        if (SUCCEEDED(platform_->CreateFilter(qelclsid::kVideoRenderer, renderer.GetAddressOf())) &&
            SUCCEEDED(graph_->AddFilter(renderer.Get(), L"Video Render")))
            renderers_.filters.push_back(renderer);
    }
    if (!wantOverlay)
        return;
    qel::ComPtr<IBaseFilter> overlay;
    if (FAILED(platform_->CreateFilter(qelclsid::kOverlayMixer, overlay.GetAddressOf())) ||
        FAILED(graph_->AddFilter(overlay.Get(), L"OverlayMixer")))
        return;
    renderers_.filters.push_back(overlay);
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

HRESULT TakeDownPlayGraph(PlayGraph& graph) {
    const HRESULT stopped = graph.control ? graph.stopper(graph.control.Get(), graph.events.Get()) : S_OK;
    if (graph.videoWindow && WindowExists(graph.host)) {
        // The host's thread answers these while it waits for the take-down or handles its messages.
        graph.videoWindow->put_Visible(OAFALSE);
        graph.videoWindow->put_Owner(0);
    }
    if (graph.graph) {
        qel::ComPtr<IBaseFilter> source = qel::TakeOver(Helper().FindSourceFilter(graph.graph.Get()));
        if (source) {
            Helper().RemoveDownstream(graph.graph.Get(), source.Get());
            graph.graph->RemoveFilter(source.Get());
        }
    }
    graph.control.Reset();
    graph.events.Reset();
    graph.videoWindow.Reset();
    graph.graph.Reset();
    return stopped;
}

namespace {

// Runs a play's step, then, when its play let go of it meanwhile, takes the graph down on this thread.
HRESULT RunPlayStep(const std::shared_ptr<PlayGraph>& graph, const std::function<HRESULT(PlayGraph&)>& step) {
    const HRESULT result = step(*graph);
    if (graph->fate.exchange(PlayGraph::kStepEnded) == PlayGraph::kStepAbandoned)
        TakeDownPlayGraph(*graph);
    return result;
}

} // namespace

HWND CPlaybackSession::WorkWindow() {
    if (!workWindow_ || !IsWindow(workWindow_))
        workWindow_ = CreateWindowExA(0, kNotificationClass, "q&l work", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    return workWindow_;
}

bool CPlaybackSession::StartStep(std::function<HRESULT()> step, Phase phase) {
    auto watched = std::make_unique<CWatchedTask>();
    const HWND work = WorkWindow();
    playGraph_->fate = PlayGraph::kStepRunning;
    const HRESULT started = watched->Start(std::move(step), platform_->GraphLimit(), work, kStepEndedMessage);
    if (FAILED(started)) {
        FailPlay(started, !WindowExists(host_));
        return false;
    }
    step_ = std::move(watched);
    phase_ = phase;
    if (work)
        SetTimer(work, kStepWatchTimer, kStepWatchMs, nullptr);
    return true;
}

void CPlaybackSession::StartBuild(LONGLONG start) {
    const RenderStep render = platform_->Renderer();
    const std::string path = file_;
    std::shared_ptr<PlayGraph> graph = playGraph_;
    StartStep(
        [graph, path, render, start]() -> HRESULT {
            return RunPlayStep(graph, [&path, render, start](PlayGraph& play) -> HRESULT {
                const HRESULT result = render(play.graph.Get(), path.c_str());
                Helper().RemoveUnconnectedFilters(play.graph.Get());
                qel::ComPtr<IMediaSeeking> seeking;
                if (FAILED(play.graph.As(&seeking)) || !seeking)
                    return result;
                if (play.stop == 0)
                    seeking->GetDuration(&play.stop);
                seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
                LONGLONG duration = 0;
                seeking->GetDuration(&duration);
                // The kept stop (the reports compare with it) is not clamped; only the seek is.
                LONGLONG seekStop = play.stop == 0 || play.stop > duration ? duration : play.stop;
                LONGLONG seekStart = start;
                seeking->SetPositions(&seekStart, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame,
                                      &seekStop, AM_SEEKING_AbsolutePositioning);
                return result;
            });
        },
        Phase::kBuilding);
}

HRESULT CPlaybackSession::BeginPlay(const char* file, HWND host, LONGLONG start, LONGLONG stop,
                                    lpProgressCallback callback, UINT outcomeMessage, DWORD* number) {
    if (number)
        *number = 0;
    if (waiting_ || stopping_ || looking_)
        return E_PENDING; // from a message sent while a play or a stop waits for its graph
    Stop(false);
    if (!file || !host)
        return S_FALSE;
    auto request = std::make_unique<PlayRequest>();
    request->file = file;
    request->host = host;
    request->start = start;
    request->stop = stop;
    request->callback = callback;
    request->outcomeMessage = outcomeMessage;
    request->number = playNumber_ + 1;
    if (goingDown_.empty()) {
        const HRESULT started = StartPlay(*request);
        if (FAILED(started))
            return started;
    } else {
        queued_ = std::move(request);
        if (const HWND work = WorkWindow())
            SetTimer(work, kStepWatchTimer, kStepWatchMs, nullptr);
    }
    if (number)
        *number = ++playNumber_;
    return S_OK;
}

HRESULT CPlaybackSession::StartPlay(const PlayRequest& request) {
    ForgetEndedGivenUpPlays();
    if (GivenUpPlayHolds(request.file.c_str()))
        return kCallTimedOut; // its last try is still inside the platform: another would stick too
    if (givenUp_.size() >= kMaxGivenUpPlays)
        return kTooManyGivenUpPlays;
    file_ = request.file;
    host_ = request.host;
    callback_ = request.callback;
    user_ = 0;
    start_ = request.start;
    stop_ = request.stop;
    outcome_ = S_OK;
    const HRESULT created = CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                             reinterpret_cast<void**>(graph_.GetAddressOf()));
    if (FAILED(created)) {
        ForgetPlayback();
        return created;
    }
    graph_.As(&control_);
    graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(events_.GetAddressOf()));
    graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(videoWindow_.GetAddressOf()));
    playGraph_ = std::make_shared<PlayGraph>();
    playGraph_->graph = graph_;
    playGraph_->control = control_;
    playGraph_->events = events_;
    playGraph_->videoWindow = videoWindow_;
    playGraph_->stopper = platform_->Stopper();
    playGraph_->host = host_;
    playGraph_->stop = stop_;
    AddRenderers(&mixerConfig_);
    outcomeMessage_ = 0; // a build that cannot start is answered by the caller, not posted
    StartBuild(start_);
    if (!step_)
        return FAILED(outcome_) ? outcome_ : E_FAIL;
    outcomeMessage_ = request.outcomeMessage;
    outcomeNumber_ = request.number;
    return S_OK;
}

void CPlaybackSession::StartQueuedPlay() {
    if (!queued_ || !goingDown_.empty())
        return;
    const std::unique_ptr<PlayRequest> request = std::move(queued_);
    const HRESULT started = StartPlay(*request);
    if (FAILED(started)) {
        outcome_ = started;
        if (request->outcomeMessage && WindowExists(request->host))
            PostMessageA(request->host, request->outcomeMessage, static_cast<WPARAM>(started),
                         static_cast<LPARAM>(request->number));
    }
}

int CPlaybackSession::Play(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback) {
    const HRESULT begun = BeginPlay(file, host, start, stop, callback, 0, nullptr);
    if (begun != S_OK)
        return begun == S_FALSE ? 0 : begun;
    {
        FlagScope waiting(waiting_);
        WaitForPlay();
    }
    // A stop sent while the play was waited for: the play that started is stopped, one that had not
    // yet is abandoned and does not play.
    const bool stoppedBeforeItPlayed = stopAsked_ && !playing_;
    if (HonourAskedStop() && stoppedBeforeItPlayed && SUCCEEDED(outcome_))
        return E_ABORT;
    return outcome_;
}

void CPlaybackSession::WaitForPlay() {
    while ((queued_ || step_) && !stopAsked_) {
        if (queued_) {
            // Earlier graphs go down first: each is watched as any step is, and given up when stuck.
            CWatchedTask& first = *goingDown_.front().step;
            WaitHandlingSentMessages(first.Done(), first.LookAgainMs());
            LookAtGraphsGoingDown();
            StartQueuedPlay();
            continue;
        }
        WaitHandlingSentMessages(step_->Done(), step_->LookAgainMs());
        if (!stopAsked_)
            AdvancePlay();
    }
}

void CPlaybackSession::LookAtWork() {
    if (looking_ || waiting_)
        return; // the wait under way looks at the play itself
    {
        FlagScope looking(looking_);
        AdvancePlay();
        LookAtGraphsGoingDown();
        StartQueuedPlay();
    }
    if (!step_ && !queued_ && goingDown_.empty() && workWindow_)
        KillTimer(workWindow_, kStepWatchTimer);
}

void CPlaybackSession::AdvancePlay() {
    if (!step_)
        return;
    switch (step_->Look()) {
    case CWatchedTask::State::kRunning: return;
    case CWatchedTask::State::kStuck: {
        if (playGraph_->fate.exchange(PlayGraph::kStepAbandoned) == PlayGraph::kStepEnded)
            break; // it came back just now: go on as with any step that returned
        HANDLE stuck = step_->DuplicateThread();
        step_.reset();
        const std::string file = file_;
        Renderers renderers = std::move(renderers_);
        if (events_)
            events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
        if (WindowExists(host_) && savedHostProc_)
            SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
        DropGraphReferences();
        GiveUp(file, stuck, std::move(renderers));
        Conclude(kCallTimedOut); // while the host is still known
        ForgetPlayback();
        return;
    }
    case CWatchedTask::State::kDone: break;
    }
    const HRESULT result = step_->Result();
    step_.reset();
    if (phase_ == Phase::kBuilding)
        AfterBuild(result);
    else if (phase_ == Phase::kRunning)
        AfterRun(result);
}

void CPlaybackSession::AfterBuild(HRESULT rendered) {
    if (mixerConfig_) {
        static_cast<IMixerPinConfig*>(mixerConfig_.Get())->SetAspectRatioMode(kAspectLetterBox);
        mixerConfig_.Reset();
    }
    graph_.As(&seeking_);
    stop_ = playGraph_->stop;
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
        // Shown (or kept hidden) before the graph runs, never while its renderer presents: under Wine a
        // window mapped under a presenting GL renderer can leave the renderer and this thread waiting on
        // the display for good (about one play in twenty of a large clip).
        videoWindow_->put_AutoShow(OAFALSE);
        videoWindow_->put_Visible(videoShown_ ? OATRUE : OAFALSE);
    }
    const ControlStep run = platform_->Runner();
    std::shared_ptr<PlayGraph> graph = playGraph_;
    if (!StartStep(
            [graph, run]() -> HRESULT {
                return RunPlayStep(graph, [run](PlayGraph& play) { return run(play.control.Get(), play.events.Get()); });
            },
            Phase::kRunning))
        return;
    // The run is waited for here, answering only sent messages, as a play always was: painting this
    // thread's windows while the renderer presents its first frames can freeze both under Wine's GL
    // renderer. A healthy run takes a moment; one that makes no progress is given up as any step.
    // A stop sent meanwhile (the user's Stop or Close from another thread's send) is honoured as the
    // wait looks again: the play is abandoned, and a run that returned has its graph taken down.
    const bool wasWaiting = waiting_;
    waiting_ = true;
    while (step_ && phase_ == Phase::kRunning && !stopAsked_) {
        WaitHandlingSentMessages(step_->Done(), step_->LookAgainMs());
        if (!stopAsked_)
            AdvancePlay();
    }
    waiting_ = wasWaiting;
    if (!wasWaiting)
        HonourAskedStop(); // inside Play, its own wait honours it
}

void CPlaybackSession::AfterRun(HRESULT ran) {
    {
        // Before the reports start: a callback may stop the playback at its first report.
        CAutoLock hold(&lock_);
        playing_ = true;
        phase_ = Phase::kPlaying;
    }
    if (FAILED(ran))
        return FailPlay(ran, !WindowExists(host_));
    progress_.reset(new CProgressThread);
    if (seeking_)
        progress_->Start(seeking_.Get(), callback_, start_, stop_, user_, kProgressPeriodMs);
    Conclude(S_OK);
}

void CPlaybackSession::Conclude(HRESULT outcome) {
    if (phase_ != Phase::kPlaying)
        phase_ = Phase::kIdle;
    outcome_ = outcome;
    const UINT message = outcomeMessage_;
    outcomeMessage_ = 0;
    if (message && WindowExists(host_))
        PostMessageA(host_, message, static_cast<WPARAM>(outcome), static_cast<LPARAM>(outcomeNumber_));
}

void CPlaybackSession::FailPlay(HRESULT why, bool hostGone) {
    // Nothing played, so nothing is reported; the graph goes as a stop takes it down. The host is
    // told before it is forgotten.
    callback_ = nullptr;
    step_.reset();
    Conclude(why);
    playing_ = true;
    EndPlayback(hostGone);
}

void CPlaybackSession::Stop(bool hostGone) {
    {
        CAutoLock hold(&lock_);
        if (progress_ && progress_->IsCurrentThread()) {
            // Waiting here would wait on this very thread, and the windows and the graph belong to the
            // caller's thread: no more reports, and the caller's thread finishes the stop.
            progress_->Detach();
            if (notifyWindow_)
                PostMessageA(notifyWindow_, kStopRequestMessage, 0, 0);
            return;
        }
    }
    if (waiting_) {
        AskStopAfterWait(hostGone);
        return;
    }
    if (stopping_ || looking_)
        return;
    StopNow(hostGone);
}

void CPlaybackSession::StopNow(bool hostGone) {
    queued_.reset(); // not started: nothing of it to take down, and nothing is posted
    if (step_)
        AbandonStep();
    else if (playing_)
        EndPlayback(hostGone);
}

void CPlaybackSession::AskStopAfterWait(bool hostGone) {
    stopAsked_ = true;
    stopAskedHostGone_ = stopAskedHostGone_ || hostGone;
    // The host may be on its way out (its end sent this stop): it ends with its own procedure.
    if (savedHostProc_ && WindowExists(host_))
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    savedHostProc_ = nullptr;
}

bool CPlaybackSession::HonourAskedStop() {
    if (!stopAsked_)
        return false;
    const bool hostGone = stopAskedHostGone_;
    stopAsked_ = stopAskedHostGone_ = false;
    StopNow(hostGone);
    return true;
}

void CPlaybackSession::AbandonStep() {
    // Nothing plays yet: nothing is reported, and the play's outcome is not posted (the caller asked).
    const bool subclassed = savedHostProc_ != nullptr;
    if (events_)
        events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
    if (subclassed && WindowExists(host_))
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    if (playGraph_->fate.exchange(PlayGraph::kStepAbandoned) == PlayGraph::kStepEnded) {
        // It returned, and its end is not handled yet: the graph goes down as a stop takes it.
        step_.reset();
        outcomeMessage_ = 0;
        mixerConfig_.Reset();
        TakeDownGraph(0);
    } else {
        goingDown_.push_back({file_, std::move(step_), std::move(renderers_)});
        mixerConfig_.Reset();
        DropGraphReferences();
    }
    ForgetPlayback();
    phase_ = Phase::kIdle;
}

void CPlaybackSession::EndPlayback(bool hostGone) {
    std::unique_ptr<CProgressThread> progress;
    {
        CAutoLock hold(&lock_);
        if (!playing_ || stopping_)
            return;
        stopping_ = true;
        progress = std::move(progress_);
    }
    const LONGLONG lastSeen = progress ? progress->LastPosition(start_) : start_;
    if (progress) {
        // Past this no report reaches the callback, unless one is blocked in it past the limit.
        progress->Detach(kProgressEndLimitMs);
        progress.reset();
    }

    CAutoLock hold(&lock_);
    ReportStopPosition(lastSeen);
    if (events_)
        events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
    if (!hostGone && WindowExists(host_) && savedHostProc_)
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    if (hostGone && playGraph_)
        playGraph_->host = nullptr; // its windows go with the host
    TakeDownGraph(kTakeDownWaitMs);
    ForgetPlayback();
    phase_ = Phase::kIdle;
    stopping_ = false;
}

void CPlaybackSession::ReportStopPosition(LONGLONG lastSeen) {
    if (!seeking_ || !callback_)
        return;
    auto current = std::make_shared<LONGLONG>(0);
    qel::ComPtr<IMediaSeeking> seeking = seeking_;
    const HRESULT read =
        CallWithLimit([seeking, current]() { return seeking->GetCurrentPosition(current.get()); }, kPositionReadLimit);
    if (read == kCallTimedOut)
        *current = lastSeen;
    else if (FAILED(read))
        return;
    if (*current < stop_)
        callback_(start_, stop_, *current, user_);
}

void CPlaybackSession::TakeDownGraph(DWORD waitMs) {
    std::shared_ptr<PlayGraph> graph = std::move(playGraph_);
    Renderers renderers = std::move(renderers_);
    mixerConfig_.Reset();
    DropGraphReferences();
    if (!graph)
        return;
    auto step = std::make_unique<CWatchedTask>();
    const HWND work = WorkWindow();
    if (FAILED(step->Start([graph]() { return TakeDownPlayGraph(*graph); }, platform_->GraphLimit(), work,
                           kStepEndedMessage))) {
        TakeDownPlayGraph(*graph); // no thread to be had: here, as it is
        return;
    }
    if (waitMs && WaitHandlingSentMessages(step->Done(), waitMs))
        return; // down: the renderers go here with this scope, on the thread that made them
    goingDown_.push_back({file_, std::move(step), std::move(renderers)});
    if (work)
        SetTimer(work, kStepWatchTimer, kStepWatchMs, nullptr);
}

void CPlaybackSession::LookAtGraphsGoingDown() {
    for (auto it = goingDown_.begin(); it != goingDown_.end();) {
        switch (it->step->Look()) {
        case CWatchedTask::State::kRunning: ++it; break;
        case CWatchedTask::State::kDone: it = goingDown_.erase(it); break;
        case CWatchedTask::State::kStuck:
            GiveUp(it->file, it->step->DuplicateThread(), std::move(it->renderers));
            it = goingDown_.erase(it);
            break;
        }
    }
}

void CPlaybackSession::GiveUp(const std::string& file, HANDLE stuckThread, Renderers renderers) {
    // The graph's frozen picture must not stay over the host; the renderer's thread may be the one
    // that hangs, so the hide is not waited for.
    for (HWND window : renderers.windows)
        if (IsWindow(window))
            ShowWindowAsync(window, SW_HIDE);
    if (stuckThread)
        givenUp_.push_back({file, std::make_shared<Win32Handle>(stuckThread), std::move(renderers)});
}

void CPlaybackSession::DropGraphReferences() {
    // Only references are dropped: the step still inside the graph holds its own.
    control_.Reset();
    events_.Reset();
    videoWindow_.Reset();
    seeking_.Reset();
    graph_.Reset();
    playGraph_.reset();
}

void CPlaybackSession::ForgetPlayback() {
    if (notifyWindow_) {
        SendMessageA(notifyWindow_, WM_CLOSE, 0, 0);
        if (IsWindow(notifyWindow_))
            DestroyWindow(notifyWindow_);
        notifyWindow_ = nullptr;
    }
    savedHostProc_ = nullptr;
    renderers_ = Renderers();
    file_.clear();
    host_ = nullptr;
    callback_ = nullptr;
    user_ = 0;
    playing_ = false;
}

void CPlaybackSession::NoteRendererWindows(const std::vector<HWND>& before) {
    renderers_.windows.clear();
    for (HWND child : ChildWindows(host_))
        if (std::find(before.begin(), before.end(), child) == before.end())
            renderers_.windows.push_back(child);
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

LpFileHold CPlaybackSession::FileHeld(const char* file) {
    if (!file)
        return lpNotHeld;
    if (!looking_ && !waiting_) {
        FlagScope looking(looking_);
        LookAtGraphsGoingDown();
    }
    if (GivenUpPlayHolds(file))
        return lpHeldByGivenUpPlay;
    for (const GoingDown& going : goingDown_)
        if (SameFile(going.file, file))
            return lpHeldWhileGoingDown;
    return lpNotHeld;
}

bool CPlaybackSession::WaitUntilGraphsDown(DWORD ms) {
    if (looking_ || waiting_)
        return goingDown_.empty();
    const DWORD began = GetTickCount();
    for (;;) {
        {
            FlagScope looking(looking_);
            LookAtGraphsGoingDown();
        }
        const DWORD spent = GetTickCount() - began;
        if (goingDown_.empty() || spent >= ms)
            return goingDown_.empty();
        CWatchedTask& first = *goingDown_.front().step;
        WaitHandlingSentMessages(first.Done(), std::min(first.LookAgainMs(), ms - spent));
    }
}

size_t CPlaybackSession::ThreadsLeftInside() {
    if (!looking_ && !waiting_) {
        FlagScope looking(looking_);
        LookAtGraphsGoingDown();
    }
    return GivenUpPlaysRunning() + goingDown_.size() + (step_ ? 1 : 0);
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
    if (message == WM_TIMER && wParam == kStepWatchTimer) {
        session.LookAtWork();
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(window, wParam);
        session.FitVideoToHost();
        return 0;
    }
    if (message == kStepEndedMessage) {
        session.LookAtWork();
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
