// Playing one file into the host window, its progress thread and its stop.
#include "PlaybackSession.h"

#include <cstring>

#include "GraphHelper.h"
#include "MixerPinConfig.h"
#include "ReaderClsids.h"

const char kNotificationClass[] = "DirectShow Notification";

namespace {

// A stopped graph answers at once; the limit keeps the caller's (the user-interface) thread from ever
// waiting for good on a graph that does not.
constexpr LONG kStopCompletionMs = 1000;

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

int CPlaybackSession::Play(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback) {
    Stop(false);
    if (!file || !host)
        return 0;
    host_ = host;
    callback_ = callback;
    user_ = 0;
    if (FAILED(CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph_.GetAddressOf())))) {
        playing_ = true; // so that the stop below clears what was kept
        Stop(false);
        return 0;
    }
    graph_.As(&control_);
    graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(events_.GetAddressOf()));
    graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(videoWindow_.GetAddressOf()));

    qel::ComPtr<IUnknown> mixerConfig;
    AddRenderers(&mixerConfig);

    HRESULT rendered;
    if (Helper().IsAsfFile(file)) {
        rendered = Helper().BuildAsfGraph(file, graph_.Get(), 3, nullptr, nullptr);
    } else {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
        wide[MAX_PATH - 1] = 0;
        rendered = graph_->RenderFile(wide, nullptr);
    }
    Helper().RemoveUnconnectedFilters(graph_.Get());
    if (mixerConfig) {
        static_cast<IMixerPinConfig*>(mixerConfig.Get())->SetAspectRatioMode(kAspectLetterBox);
        mixerConfig.Reset();
    }

    graph_.As(&seeking_);
    start_ = start;
    stop_ = stop;
    if (seeking_) {
        if (stop_ == 0)
            seeking_->GetDuration(&stop_);
        seeking_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
        LONGLONG duration = 0;
        seeking_->GetDuration(&duration);
        LONGLONG seekStop = stop_ == 0 || stop_ > duration ? duration : stop_;
        LONGLONG seekStart = start;
        seeking_->SetPositions(&seekStart, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, &seekStop,
                               AM_SEEKING_AbsolutePositioning);
    }

    if (notifyWindow_)
        DestroyWindow(notifyWindow_);
    notifyWindow_ = CreateWindowExA(0, kNotificationClass, "q&l", WS_OVERLAPPEDWINDOW, 100, 100, 300, 300,
                                    GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (videoWindow_) {
        videoWindow_->put_Owner(reinterpret_cast<OAHWND>(host_));
        videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        RECT client = {};
        GetClientRect(host_, &client);
        videoWindow_->SetWindowPosition(client.left, client.top, client.right - client.left, client.bottom - client.top);
    }
    if (events_)
        events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_), kGraphNotifyMessage, 0);

    {
        // Before the reports start: a callback may stop the playback at its first report.
        CAutoLock hold(&lock_);
        playing_ = true;
    }
    if (rendered >= 0 && control_) {
        savedHostProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPlaybackSession::HostProc)));
        if (videoWindow_) {
            videoWindow_->put_AutoShow(OAFALSE);
            videoWindow_->put_Visible(OAFALSE);
        }
        if (control_->Run() == S_FALSE) {
            OAFilterState state = 0;
            control_->GetState(2000, &state);
        }
        if (videoWindow_)
            videoWindow_->put_Visible(OATRUE);
        progress_.reset(new CProgressThread);
        if (seeking_)
            progress_->Start(seeking_.Get(), callback_, start_, stop_, user_, kProgressPeriodMs);
    }
    return 0;
}

void CPlaybackSession::Stop(bool hostGone) {
    std::unique_ptr<CProgressThread> progress;
    {
        CAutoLock hold(&lock_);
        if (!playing_ || stopping_)
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
        // Detached first, the thread no longer touches the graph or calls back, whatever the wait gives.
        progress->Detach();
        progress->WaitForEnd(kProgressEndLimitMs);
        progress.reset();
    }

    CAutoLock hold(&lock_);
    if (seeking_ && callback_) {
        LONGLONG current = 0;
        if (SUCCEEDED(seeking_->GetCurrentPosition(&current)) && current < stop_)
            callback_(start_, stop_, current, user_);
    }
    if (control_) {
        const HRESULT stopped = control_->Stop();
        if (events_)
            events_->SetNotifyWindow(0, kGraphNotifyMessage, 0);
        if (SUCCEEDED(stopped) && events_) {
            long code = 0;
            events_->WaitForCompletion(kStopCompletionMs, &code);
        }
    }
    if (!hostGone && WindowExists(host_) && savedHostProc_)
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedHostProc_));
    if (WindowExists(host_) && videoWindow_) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_Owner(0);
    }
    if (notifyWindow_) {
        SendMessageA(notifyWindow_, WM_CLOSE, 0, 0);
        if (IsWindow(notifyWindow_))
            DestroyWindow(notifyWindow_);
        notifyWindow_ = nullptr;
    }
    savedHostProc_ = nullptr;
    host_ = nullptr;
    callback_ = nullptr;
    user_ = 0;
    if (graph_) {
        qel::ComPtr<IBaseFilter> source = qel::TakeOver(Helper().FindSourceFilter(graph_.Get()));
        if (source) {
            Helper().RemoveDownstream(graph_.Get(), source.Get());
            graph_->RemoveFilter(source.Get());
        }
    }
    control_.Reset();
    events_.Reset();
    videoWindow_.Reset();
    graph_.Reset();
    seeking_.Reset();
    playing_ = false;
    stopping_ = false;
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
