// The file player's transport (play, pause, seek, rate, time format), window and event plumbing.
#include "GraphBuilder.h"

#include <cmath>
#include <cstring>
#include <cwchar>

#include "GraphBuilderVolume.h"
#include "OutsideFilters.h"

namespace {

constexpr DWORD kSeekFlags = AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame;

} // namespace

HRESULT CGraphBuilder::Play() {
    if (!m_pMediaControl || !m_pVideoWindow)
        return S_FALSE;
    OAFilterState state = State_Stopped;
    m_hr = m_pMediaControl->GetState(5000, &state);
    if (m_hr == S_OK && state == State_Running)
        return m_hr;
    m_hr = m_pMediaControl->Run();
    if (FAILED(m_hr))
        return Fail(m_hr);
    m_hr = m_pVideoWindow->put_Visible(OATRUE);
    return m_hr;
}

HRESULT CGraphBuilder::Pause() {
    if (!m_pMediaControl)
        return S_FALSE;
    HRESULT hr = m_pMediaControl->Pause();
    if (FAILED(hr))
        return Fail(hr);
    for (int attempt = 0; attempt < 5; ++attempt) {
        OAFilterState state = State_Stopped;
        if (m_pMediaControl->GetState(1000, &state) == S_OK && state == State_Paused)
            break;
    }
    if (!m_pMediaSeeking)
        return S_FALSE;
    LONGLONG current = 0, duration = 0;
    if (FAILED(hr = m_pMediaSeeking->GetCurrentPosition(&current)) ||
        FAILED(hr = m_pMediaSeeking->GetDuration(&duration)))
        return Fail(hr);
    // The overlay times its text by the position it is told: it learns where the pause landed.
    if (m_pTextMix)
        TextMixSetPosition(m_pTextMix, current, TRUE);
    // Re-seeking to where the pause landed shows that frame (a key frame) in the window.
    hr = m_pMediaSeeking->SetPositions(&current, kSeekFlags, &duration, kSeekFlags);
    if (FAILED(hr))
        return Fail(hr);
    m_hr = hr;
    return hr;
}

HRESULT CGraphBuilder::SeekPosition(LONGLONG position, const GUID* format, int run) {
    if (!m_pMediaSeeking || m_bBusy)
        return S_FALSE;
    m_bBusy = TRUE;
    LONGLONG target = position;
    HRESULT hr = S_OK;
    if (format && std::memcmp(format, &m_guidTimeFormat, sizeof(GUID)) != 0) {
        if (FAILED(hr = ConvertPosition(&target, &m_guidTimeFormat, position, format)))
            return Fail(hr);
    }
    if (!m_pMediaControl)
        return Fail(E_FAIL);
    if (!run && FAILED(hr = m_pMediaControl->Pause()))
        return Fail(hr);
    if (m_pTextMix)
        TextMixSetPosition(m_pTextMix, target, TRUE);
    LONGLONG duration = 0;
    if (FAILED(hr = m_pMediaSeeking->GetDuration(&duration)))
        return Fail(hr);
    if (FAILED(hr = m_pMediaSeeking->SetPositions(&target, kSeekFlags, &duration, kSeekFlags)))
        return Fail(hr);
    hr = run ? m_pMediaControl->Run() : m_pMediaControl->Pause();
    if (FAILED(hr))
        return Fail(hr);
    m_bBusy = FALSE;
    m_hr = S_OK;
    return S_OK;
}

HRESULT CGraphBuilder::GetCurrentPosition(LONGLONG* position, const GUID* format) {
    if (!position || !format)
        return E_INVALIDARG;
    if (!m_pMediaSeeking)
        return S_FALSE;
    *position = 0;
    LONGLONG current = 0;
    m_hr = m_pMediaSeeking->GetCurrentPosition(&current);
    if (FAILED(m_hr))
        return Fail(m_hr);
    if (std::memcmp(format, &m_guidTimeFormat, sizeof(GUID)) != 0) {
        const HRESULT hr = ConvertPosition(position, format, current, &m_guidTimeFormat);
        if (FAILED(hr))
            return Fail(hr);
    } else {
        *position = current;
    }
    return m_hr;
}

HRESULT CGraphBuilder::SetShowWndSize(int left, int top, int width, int height, int visibleWhilePlacing,
                                      int visibleAfter, HWND owner) {
    if (!m_pVideoWindow)
        return E_FAIL;
    m_hOwner = owner ? owner : m_hDefaultOwner;
    m_nWndLeft = left;
    m_nWndTop = top;
    m_nWndWidth = width;
    m_nWndHeight = height;
    OAHWND current = 0;
    if (SUCCEEDED(m_pVideoWindow->get_Owner(&current)) && current != reinterpret_cast<OAHWND>(m_hOwner)) {
        m_pVideoWindow->put_Owner(0);
        m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(m_hOwner));
    }
    m_pVideoWindow->put_Visible(visibleWhilePlacing ? OATRUE : OAFALSE);
    m_pVideoWindow->SetWindowPosition(left, top, width, height);
    m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    m_pVideoWindow->put_WindowStyleEx(WS_EX_TOPMOST);
    m_pVideoWindow->put_Visible(visibleAfter ? OATRUE : OAFALSE);
    return S_OK;
}

HRESULT CGraphBuilder::SetTimeFormat(GUID format) {
    if (!m_pMediaSeeking)
        return E_FAIL;
    HRESULT hr = m_pMediaSeeking->IsFormatSupported(&format);
    if (FAILED(hr))
        return Fail(hr);
    if (hr == S_FALSE)
        return E_INVALIDARG;
    if (FAILED(hr = m_pMediaSeeking->SetTimeFormat(&format)) ||
        FAILED(hr = m_pMediaSeeking->GetTimeFormat(&m_guidTimeFormat)))
        return Fail(hr);
    // The caller chose the format itself: frame numbers are no longer stood in for by media time.
    m_bFramesDerived = FALSE;
    return S_OK;
}

HRESULT CGraphBuilder::GetPlaybackRate(double* rate) {
    if (!rate || !m_pMediaSeeking)
        return E_POINTER;
    const HRESULT hr = m_pMediaSeeking->GetRate(rate);
    return FAILED(hr) ? Fail(hr) : S_OK;
}

HRESULT CGraphBuilder::SetPlaybackRate(double rate) {
    if (rate == 0.0 || std::isnan(rate) || !m_pMediaSeeking)
        return E_INVALIDARG;
    const HRESULT hr = m_pMediaSeeking->SetRate(rate);
    return FAILED(hr) ? Fail(hr) : S_OK;
}

HRESULT CGraphBuilder::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs) {
    if (!m_pMediaEvent)
        return E_FAIL;
    return m_pMediaEvent->GetEvent(code, param1, param2, timeoutMs);
}

HRESULT CGraphBuilder::FinishEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    if (!m_pMediaEvent)
        return E_FAIL;
    return m_pMediaEvent->FreeEventParams(code, param1, param2);
}

HRESULT CGraphBuilder::WaitForCompletion(long timeoutMs, long* code) {
    if (!m_pMediaEvent)
        return E_FAIL;
    return m_pMediaEvent->WaitForCompletion(timeoutMs, code);
}

HRESULT CGraphBuilder::NotifyOwnerMessage(LONG_PTR window, long message, LONG_PTR wParam, LONG_PTR lParam) {
    m_hr = S_FALSE;
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_DEVMODECHANGE:
    case WM_ACTIVATEAPP:
    case WM_DISPLAYCHANGE:
    case WM_QUERYNEWPALETTE:
    case WM_PALETTEISCHANGING:
    case WM_PALETTECHANGED:
        break;
    default:
        m_hr = S_OK;
        return S_OK;
    }
    if (!m_pVideoWindow)
        return S_FALSE;
    m_hr = m_pVideoWindow->NotifyOwnerMessage(window, message, wParam, lParam);
    return m_hr;
}

BOOL CGraphBuilder::GetState(FILTER_STATE* state) {
    if (!m_pMediaControl || !state)
        return FALSE;
    OAFilterState value = State_Stopped;
    m_hr = m_pMediaControl->GetState(5000, &value);
    *state = static_cast<FILTER_STATE>(value);
    return m_hr == S_OK;
}

BOOL CGraphBuilder::SetVolume(unsigned long percent) {
    if (!m_pBasicAudio || percent > 100)
        return FALSE;
    return m_pBasicAudio->put_Volume(PlayerVolumeForPercent(percent)) == S_OK;
}

int CGraphBuilder::GetFullRenderFileName(WCHAR* buffer, int size) {
    const int length = static_cast<int>(wcslen(m_szFile));
    if (!buffer || length >= size)
        return -1;
    std::memcpy(buffer, m_szFile, (length + 1) * sizeof(WCHAR));
    return length;
}
