// The basic player's playback: the video window in the caller's control, events, the running object
// table entry, play, pause, stop, rewind and seeking by thousandths of the duration.
#include "BasicPlayer.h"
#include "BasicPlayerInternal.h"
#include "EngineCom.h"
#include "EngineTrace.h"

#include <cwchar>

VideoPlacement FitVideoToControl(long left, long top, long width, long height, long controlWidth,
                                 long controlHeight) {
    // Smaller than the control in either direction: its own size, centred on the control.
    if (width < controlWidth || height < controlHeight)
        return {left + (controlWidth - width) / 2, top + (controlHeight - height) / 2, width, height};
    return {left, top, controlWidth, controlHeight};
}

int CBasicPlayer::AssociateVideoWinToControlVMX(HWND owner, CWnd* control) {
    if (!m_pGraph || FAILED(m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWinOrg)))) {
        m_pVideoWinOrg = nullptr;
        EngineTrace("Failed to get IVideoWindowVMX");
        return 0;
    }
    m_pVideoWinOrg->put_Owner(reinterpret_cast<OAHWND>(owner));
    m_pVideoWinOrg->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    RECT rect = {0, 0, 0, 0};
    if (control && control->GetSafeHwnd()) {
        GetWindowRect(control->GetSafeHwnd(), &rect);
        MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&rect), 2);
    }
    const long cw = rect.right - rect.left, ch = rect.bottom - rect.top;
    long left = 0, top = 0, w = 0, h = 0;
    m_pVideoWinOrg->GetWindowPosition(&left, &top, &w, &h);
    const VideoPlacement placement = FitVideoToControl(left, top, w, h, cw, ch);
    m_pVideoWinOrg->SetWindowPosition(placement.left, placement.top, placement.width, placement.height);
    if (w == cw && h == ch)
        EngineTrace("left : %d , top : %d, width : %d, height : %d, Window id : %x");
    m_pVideoWinOrg->put_Visible(OATRUE);
    return 1;
}

int CBasicPlayer::IfHasVideo(int) {
    if (!m_pGraph)
        return 1;
    if (!m_pBasicAudio &&
        FAILED(m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pBasicAudio))))
        m_pBasicAudio = nullptr;
    if (!m_pBasicVideo &&
        FAILED(m_pGraph->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_pBasicVideo))))
        m_pBasicVideo = nullptr;
    if (!m_pVideoWinOrg || !m_pBasicVideo) {
        m_bHasVideo = 0;
        EngineTrace("No video interface.  Assuming audio/MIDI file or unsupported video codec");
    }
    if (m_pBasicVideo)
        m_pBasicVideo->GetVideoSize(&m_lVideoWidth, &m_lVideoHeight);
    if (m_pVideoWinOrg) {
        long visible = 0;
        const HRESULT hr = m_pVideoWinOrg->get_Visible(&visible);
        if (hr == E_NOINTERFACE)
            m_bHasVideo = 0;
        else if (FAILED(hr))
            EngineTrace("Failed in m_pVideoWinOrg->get_Visible()");
    }
    // This player plays without sound.
    if (m_pBasicAudio)
        m_pBasicAudio->put_Volume(-10000);
    return 1;
}

int CBasicPlayer::RegisterNotificationWindow(HWND window, UINT message) {
    if (!m_pGraph || (!m_pMediaEvent && FAILED(m_pGraph->QueryInterface(IID_IMediaEventEx,
                                                                        reinterpret_cast<void**>(&m_pMediaEvent))))) {
        m_pMediaEvent = nullptr;
        EngineTrace("Getting MediaEvent Interface Failed");
        return 0;
    }
    m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(window), message, 0);
    return 1;
}

HRESULT CBasicPlayer::AddGraphToRot(IUnknown* object, DWORD* cookie) {
    qel::ComPtr<IRunningObjectTable> table;
    if (FAILED(GetRunningObjectTable(0, &table)))
        return E_FAIL;
    WCHAR item[128] = {0};
    wsprintfW(item, L"FilterGraph %08x pid %08x", static_cast<DWORD>(reinterpret_cast<DWORD_PTR>(object)),
              GetCurrentProcessId());
    qel::ComPtr<IMoniker> moniker;
    HRESULT hr = CreateItemMoniker(L"!", item, &moniker);
    if (SUCCEEDED(hr))
        hr = table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, object, moniker.Get(), cookie);
    return hr;
}

void CBasicPlayer::RemoveGraphFromRot(DWORD cookie) {
    qel::ComPtr<IRunningObjectTable> table;
    if (SUCCEEDED(GetRunningObjectTable(0, &table)))
        table->Revoke(cookie);
}

void CBasicPlayer::SeekToStart() {
    LONGLONG zero = 0;
    m_pMediaSeeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, &zero, AM_SEEKING_AbsolutePositioning);
}

int CBasicPlayer::HaveMediaControl() {
    if (!m_pGraph) {
        EngineTrace("The graph is not built, Play Failed");
        return 0;
    }
    if (!m_pMediaControl &&
        FAILED(m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl)))) {
        m_pMediaControl = nullptr;
        EngineTrace("Getting MediaControl Interface Failed");
        return 0;
    }
    return 1;
}

int CBasicPlayer::PlayMovie() {
    if (!HaveMediaControl())
        return 0;
    if (m_pMediaSeeking) {
        m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
        LONGLONG current = -1;
        m_pMediaSeeking->GetCurrentPosition(&current);
        if (current == m_llDuration)
            SeekToStart();
    }
    // One entry per graph: a second play keeps the first.
    if (!m_dwRotRegister && FAILED(AddGraphToRot(m_pGraph, &m_dwRotRegister)))
        m_dwRotRegister = 0;
    const HRESULT hr = m_pMediaControl->Run();
    if (FAILED(hr)) {
        EngineTrace("MediaControl->Run() Failed");
        ShowGraphError(hr);
        return 0;
    }
    return 1;
}

int CBasicPlayer::ResetMovie() {
    if (!HaveMediaControl())
        return 0;
    m_pMediaControl->Stop();
    if (m_pMediaSeeking) {
        m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
        LONGLONG current = -1;
        m_pMediaSeeking->GetCurrentPosition(&current);
        m_pMediaSeeking->GetDuration(&m_llDuration);
        if (current == m_llDuration)
            SeekToStart();
    }
    return m_pMediaControl->Pause() >= 0 ? 1 : 0;
}

int CBasicPlayer::PauseMovie() {
    if (!m_pMediaControl) {
        EngineTrace("The Media control is invalid, Pause Failed");
        return 0;
    }
    m_pMediaControl->Pause();
    return 1;
}

int CBasicPlayer::StopMovie() {
    if (!m_pMediaControl) {
        EngineTrace("The Media control is invalid, Stop Failed");
        return 0;
    }
    m_pMediaControl->Stop();
    if (m_pAsfWriter) {
        if (m_pGraph)
            m_pGraph->RemoveFilter(m_pAsfWriter);
        SafeRelease(m_pAsfWriter);
    }
    if (m_pMediaSeeking) {
        LONGLONG zero = 0;
        m_pMediaSeeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    }
    // The graph is stopped: nothing is left to complete. Wine's wait on a stopped graph never
    // returns, so the wait only collects what is already there.
    if (m_pMediaEvent) {
        long code = 0;
        m_pMediaEvent->WaitForCompletion(0, &code);
    }
    return 1;
}

HRESULT CBasicPlayer::SeekPosition(LONGLONG position, const GUID* format, int run) {
    if (!m_pMediaSeeking || !m_pMediaControl)
        return S_FALSE;
    m_bSeeking = 1;
    m_pMediaSeeking->SetTimeFormat(format);
    if (!run)
        m_pMediaControl->Pause();
    LONGLONG duration = 0;
    m_pMediaSeeking->GetDuration(&duration);
    // In media time the position counts thousandths of the duration.
    LONGLONG target = position;
    if (format && *format == TIME_FORMAT_MEDIA_TIME)
        target = (duration / 1000) * position;
    const DWORD flags = AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame;
    m_pMediaSeeking->SetPositions(&target, flags, &duration, flags);
    if (!run)
        m_pMediaControl->Pause();
    else
        m_pMediaControl->Run();
    m_bSeeking = 0;
    return S_OK;
}

long CBasicPlayer::CurrentMoviePosition() {
    if (!m_pMediaSeeking)
        return 0;
    m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    LONGLONG current = 0;
    if (FAILED(m_pMediaSeeking->GetCurrentPosition(&current))) {
        EngineTrace("Failed to Get Current Position");
        return 0;
    }
    if (m_llDuration != 0)
        m_nPosition = static_cast<int>(current * 1000 / m_llDuration);
    return m_nPosition;
}

int CBasicPlayer::GetState(OAFilterState* state) {
    if (!m_pMediaControl || !state)
        return 0;
    return m_pMediaControl->GetState(5000, state) == S_OK ? 1 : 0;
}
