// Previewing the timeline: the render engine's graph played into a child window of the owner, with
// the mix overlays spliced in front of its renderer.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "EnginePins.h"
#include "GraphBuilderVolume.h"
#include "GraphSplice.h"
#include "OutsideFilters.h"
#include "PinHelpers.h"
#include "QelFilterParams.h"
#include "TrimChecks.h"
#include "TrimLog.h"
#include "TrimObjects.h"
#include "TrimWindowProc.h"

using qel::ComPtr;

namespace {

// The render engine's answer when some output pin is already rendered: a preview can run all the same.
constexpr HRESULT kOutputsAlreadyRendered = static_cast<HRESULT>(0x80040256);
constexpr LONG kTopmostExStyle = WS_EX_TOPMOST;
constexpr DWORD kGetStateWaitMs = 1000;
constexpr DWORD kSeekToKeyFrame = AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame;

bool InGraph(IBaseFilter* filter) {
    FILTER_INFO info = {};
    if (!filter || FAILED(filter->QueryFilterInfo(&info)))
        return false;
    const bool inGraph = info.pGraph != nullptr;
    SafeRelease(info.pGraph);
    return inGraph;
}

// Removes the filter and links what fed it to what it fed, so that the renderer behind it keeps its
// picture in the kept graph. The result of that link.
HRESULT TakeOutOfChain(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !InGraph(filter))
        return S_OK;
    const ComPtr<IPin> upstream = PeerOf(PinOf(filter, PINDIR_INPUT).Get());
    const ComPtr<IPin> downstream = PeerOf(PinOf(filter, PINDIR_OUTPUT).Get());
    graph->RemoveFilter(filter);
    return upstream && downstream ? graph->Connect(upstream.Get(), downstream.Get()) : S_OK;
}

} // namespace

HRESULT CVideoTrim::CreateRenderEngine() {
    if (!m_pTimeline)
        return E_INVALIDARG;
    HRESULT hr = CreateTrimObject(qeltrim_clsid::kRenderEngine, CLSCTX_INPROC_SERVER, __uuidof(IRenderEngine),
                                  reinterpret_cast<void**>(&m_pRenderEngine));
    if (SUCCEEDED(hr) && !m_pRenderEngine)
        hr = E_NOINTERFACE;
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    if (FAILED(hr = m_pRenderEngine->SetTimelineObject(m_pTimeline))) {
        TRIM_LOG(hr);
        SafeRelease(m_pRenderEngine);
    }
    return hr;
}

HRESULT CVideoTrim::QueryGraphInterfaces() {
    HRESULT hr = m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl));
    hr |= m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pMediaSeeking));
    hr |= m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent));
    hr |= m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow));
    return hr;
}

void CVideoTrim::SetupVideoWindow(HWND video, int x, int y, int width, int height) {
    if (!m_pVideoWindow)
        return;
    m_pVideoWindow->put_Visible(OAFALSE);
    m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(video));
    m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    m_pVideoWindow->put_WindowStyleEx(kTopmostExStyle);
    m_pVideoWindow->SetWindowPosition(x, y, width, height);
    m_pVideoWindow->put_Visible(OATRUE);
}

HRESULT CVideoTrim::StartPreview(HWND video, int x, int y, int width, int height, BOOL rebuild,
                                 CMediaPlayer** /*unused*/) {
    if (!IsWindow(video))
        return E_INVALIDARG;
    if (!rebuild) {
        // Resuming needs the graph of an earlier preview.
        if (!m_pMediaControl)
            return E_INVALIDARG;
        SpliceUsedMixesAgain();
        SetupVideoWindow(video, x, y, width, height);
        const HRESULT hr = m_pMediaControl->Run();
        if (FAILED(hr)) {
            TRIM_LOG(hr);
            return hr;
        }
        m_TrimState = TrimStatePreviewing;
        return S_OK;
    }
    if (!m_pTimeline)
        return E_INVALIDARG;
    StopWatch();
    FreeBuilderInterface();
    HRESULT hr = m_pTimeline->ValidateSourceNames(kValidateSourceNamesCheckReplace, nullptr, 0);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    if (FAILED(hr = CreateRenderEngine()))
        return hr;
    if (FAILED(hr = m_pRenderEngine->ConnectFrontEnd()) ||
        (FAILED(hr = m_pRenderEngine->RenderOutputPins()) && hr != kOutputsAlreadyRendered)) {
        TRIM_LOG(hr);
        m_pRenderEngine->ScrapIt();
        SafeRelease(m_pRenderEngine);
        return hr;
    }
    hr = m_pRenderEngine->GetFilterGraph(&m_pGraph);
    if (SUCCEEDED(hr) && !m_pGraph)
        hr = E_NOINTERFACE;
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        m_pRenderEngine->ScrapIt();
        SafeRelease(m_pRenderEngine);
        return hr;
    }
    if (FAILED(hr = QueryGraphInterfaces())) {
        TRIM_LOG(hr);
        FreeBuilderInterface();
        return hr;
    }
    const HRESULT audio = m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pBasicAudio));
    if (m_pBasicAudio)
        SetVolume(m_nVolume);
    if (m_bLowLightUsed) {
        if (FAILED(hr = CreateLowLight()))
            return hr;
        ApplyMavixMix(m_pLowLight, m_pGraph, TRUE, m_bLowLightEnable);
    }
    if (m_bTextMixUsed && SUCCEEDED(CreateTextMix()))
        ApplyTextMix(m_pTextMix, m_pGraph, TRUE);
    if (IsWindow(video))
        SetupVideoWindow(video, x, y, width, height);
    m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hNotifyWnd), WM_TRIM_GRAPHNOTIFY,
                                   reinterpret_cast<LONG_PTR>(this));
    if (FAILED(hr = m_pMediaControl->Run()))
        TRIM_LOG(hr);
    m_TrimState = TrimStatePreviewing;
    return audio;
}

BOOL CVideoTrim::PauseNContinuous() {
    if (!m_pMediaControl)
        return FALSE;
    OAFilterState state = State_Stopped;
    if (FAILED(m_pMediaControl->GetState(kGetStateWaitMs, &state)))
        return FALSE;
    if (state == State_Stopped || state == State_Paused) {
        const HRESULT hr = m_pMediaControl->Run();
        m_TrimState = TrimStatePreviewing;
        return SUCCEEDED(hr);
    }
    if (state == State_Running) {
        const HRESULT hr = m_pMediaControl->Pause();
        m_TrimState = TrimStatePaused;
        return SUCCEEDED(hr);
    }
    return FALSE;
}

HRESULT CVideoTrim::StopPreview() {
    if (m_TrimState != TrimStatePreviewing || !m_pMediaControl)
        return S_FALSE;
    // Stopped, not released: StartPreview without rebuild runs the same graph again.
    m_pMediaControl->Stop();
    for (IBaseFilter* mix : {m_pTextMix, m_pLowLight}) {
        const HRESULT hr = TakeOutOfChain(m_pGraph, mix);
        if (FAILED(hr))
            TRIM_LOG(hr);
    }
    m_TrimState = TrimStateReady;
    return S_OK;
}

void CVideoTrim::SpliceUsedMixesAgain() {
    // In the order of the first splices: the low-light plug-in, then the text overlay nearest the renderer.
    if (m_bLowLightUsed && m_pLowLight && !InGraph(m_pLowLight))
        ApplyMavixMix(m_pLowLight, m_pGraph, TRUE, m_bLowLightEnable);
    if (m_bTextMixUsed && m_pTextMix && !InGraph(m_pTextMix))
        ApplyTextMix(m_pTextMix, m_pGraph, TRUE);
}

BOOL CVideoTrim::SetPreviewPosition(LONGLONG position) {
    if (!m_pMediaSeeking || !m_pMediaControl)
        return FALSE;
    LONGLONG total = 0;
    if (!GetTotalDuration(&total) || position > total)
        return FALSE;
    m_pMediaControl->Pause();
    ComPtr<IQelFilterParams> params;
    if (m_pLowLight && SUCCEEDED(m_pLowLight->QueryInterface(IID_IQelFilterParams, &params)))
        params->Enable(m_bLowLightEnable);
    ComPtr<ITarnTextMix> mix;
    if (m_pTextMix && SUCCEEDED(m_pTextMix->QueryInterface(IID_ITarnTextMix, &mix)))
        mix->SetPosition(position, TRUE);
    const HRESULT hr = m_pMediaSeeking->SetPositions(&position, kSeekToKeyFrame, &total, kSeekToKeyFrame);
    if (SUCCEEDED(hr))
        return TRUE;
    m_pMediaControl->Pause();
    TRIM_LOG(hr);
    return FALSE;
}

HRESULT CVideoTrim::SetShowWndSize(int x, int y, int width, int height, BOOL visibleWhileMoving, BOOL visibleAfter) {
    if (!m_pVideoWindow)
        return S_FALSE;
    long visible = OAFALSE;
    HRESULT hr = m_pVideoWindow->get_Visible(&visible);
    auto setVisible = [&](long value) {
        if (SUCCEEDED(hr))
            hr = m_pVideoWindow->put_Visible(value);
        if (SUCCEEDED(hr))
            hr = m_pVideoWindow->get_Visible(&visible);
    };
    if (visibleWhileMoving && visible != OATRUE)
        setVisible(OATRUE);
    else if (!visibleWhileMoving && visible)
        setVisible(OAFALSE);
    if (SUCCEEDED(hr))
        hr = m_pVideoWindow->SetWindowPosition(x, y, width, height);
    if (SUCCEEDED(hr) && !visibleAfter && visible)
        hr = m_pVideoWindow->put_Visible(OAFALSE);
    else if (SUCCEEDED(hr) && visibleAfter && visible != OATRUE) {
        hr = m_pVideoWindow->put_Visible(OATRUE);
        if (SUCCEEDED(hr))
            hr = m_pVideoWindow->SetWindowForeground(OATRUE);
    }
    if (FAILED(hr))
        TRIM_LOG(hr);
    return FAILED(hr) ? hr : S_OK;
}

BOOL CVideoTrim::SetVolume(DWORD percent) {
    m_nVolume = percent;
    if (percent > 100)
        return FALSE;
    if (!m_pBasicAudio)
        return TRUE;
    const HRESULT hr = m_pBasicAudio->put_Volume(PlayerVolumeForPercent(percent));
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return FALSE;
    }
    return TRUE;
}

BOOL CVideoTrim::GetTotalDuration(LONGLONG* out) {
    if (!m_pTimeline || !out)
        return FALSE;
    if (m_pMediaSeeking && m_pMediaSeeking->GetDuration(out) == S_OK)
        return TRUE;
    return m_pTimeline->GetDuration(out) == S_OK;
}

BOOL CVideoTrim::GetProcessDuration(LONGLONG* out) {
    if ((m_TrimState != TrimStatePreviewing && m_TrimState != TrimStateRendering) || !m_pMediaSeeking || !out)
        return FALSE;
    return m_pMediaSeeking->GetCurrentPosition(out) == S_OK;
}

BOOL CVideoTrim::SetOutputFormat(_TRIMOUTFORMAT* format) {
    if (!format)
        return FALSE;
    if (format->nPixelFormat == 0)
        return TRUE;
    if (!m_pVideoGroup || !qeltrim::IsOutputFrameRateAllowed(format->nFrameRate))
        return FALSE;
    ComPtr<IAMTimelineGroup> group;
    HRESULT hr = QueryInto(m_pVideoGroup, group);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return FALSE;
    }
    AM_MEDIA_TYPE type = {};
    if (FAILED(hr = group->GetMediaType(&type))) {
        TRIM_LOG(hr);
        return FALSE;
    }
    // A group type without a picture format cannot take a size.
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat) {
        FreeMediaTypeFields(type);
        TRIM_LOG(E_INVALIDARG);
        return FALSE;
    }
    VIDEOINFOHEADER* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    info->bmiHeader.biWidth = format->nWidth;
    info->bmiHeader.biHeight = format->nHeight;
    const qeltrim::OutputLayout layout = qeltrim::OutputLayoutFor(format->nPixelFormat);
    if (layout.subtype != qeltrim::OutputSubtype::kKeep) {
        type.subtype = layout.subtype == qeltrim::OutputSubtype::kRgb555  ? MEDIASUBTYPE_RGB555
                       : layout.subtype == qeltrim::OutputSubtype::kRgb24 ? MEDIASUBTYPE_RGB24
                                                                          : MEDIASUBTYPE_ARGB32;
        info->bmiHeader.biBitCount = static_cast<WORD>(layout.bitsPerPixel);
        info->bmiHeader.biSizeImage = static_cast<DWORD>(qeltrim::FrameImageBytes(
            info->bmiHeader.biPlanes, format->nWidth, format->nHeight, layout.bitsPerPixel));
    }
    hr = group->SetMediaType(&type);
    const HRESULT fps = group->SetOutputFPS(static_cast<double>(format->nFrameRate));
    FreeMediaTypeFields(type);
    if (hr == S_OK && fps == S_OK)
        return TRUE;
    TRIM_LOG(FAILED(hr) ? hr : fps);
    return FALSE;
}
