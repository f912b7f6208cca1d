// The preview graph: building it around the camera's preview pin, running, stopping and tearing it
// down, and placing the picture in the engine's child window.
#include "LiveCaptureInternal.h"
#include "VostrelTestSeams.h"

namespace {

#ifdef QEL_TEST_SEAMS
// Preview builds the tests asked to fail (see RefuseNextPreviewBuilds).
volatile LONG g_previewBuildsToRefuse = 0;

bool PreviewBuildRefusedForTests() {
    LONG left = g_previewBuildsToRefuse;
    while (left > 0) {
        const LONG seen = InterlockedCompareExchange(&g_previewBuildsToRefuse, left - 1, left);
        if (seen == left)
            return true;
        left = seen;
    }
    return false;
}
#endif

const CLSID kClsidVmr9 = {0x51B4ABF3, 0x748F, 0x4E3B, {0xA2, 0x76, 0xC8, 0x28, 0x33, 0x0E, 0x92, 0x6A}};
const CLSID kClsidVmr7 = {0xB87BEB7B, 0x8D29, 0x423F, {0xAE, 0x4D, 0x65, 0x82, 0xC1, 0x01, 0x75, 0xAC}};
const CLSID kClsidVideoRenderer = {
    0x70E102B0, 0x5556, 0x11CE, {0x97, 0xC0, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};

bool IsPreviewRendered(HRESULT hr) {
    return hr == S_OK || hr == VFW_S_NOPREVIEWPIN;
}

qel::ComPtr<IBaseFilter> CreateAndAddRenderer(IGraphBuilder* graph, REFCLSID clsid, const WCHAR* name) {
    qel::ComPtr<IBaseFilter> renderer;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(renderer.GetAddressOf()))))
        return nullptr;
    if (FAILED(graph->AddFilter(renderer.Get(), name)))
        return nullptr;
    return renderer;
}

} // namespace

HRESULT CLiveCapture::xRenderStreamToVMR(const GUID* category, const GUID* type, IUnknown* source,
                                         IBaseFilter* intermediate, IBaseFilter** rendererOut,
                                         int /*unused*/) {
    if (rendererOut)
        *rendererOut = nullptr;
    if (!m_pGraph || !m_pBuilder)
        return E_FAIL;
    qel::ComPtr<IBaseFilter> renderer;
    if (m_bUseVMR)
        renderer = CreateAndAddRenderer(m_pGraph, kClsidVmr9, L"VMR");
    if (!renderer)
        renderer = CreateAndAddRenderer(m_pGraph, kClsidVmr7, L"VMR");
    if (!renderer) {
        m_bUseVMR = FALSE;
        renderer = CreateAndAddRenderer(m_pGraph, kClsidVideoRenderer, L"Video Render");
    }
    const HRESULT hr = m_pBuilder->RenderStream(category, type, source, intermediate, renderer.Get());
    if (FAILED(hr) && renderer) {
        m_pGraph->RemoveFilter(renderer.Get());
        renderer.Reset();
    }
    // The exported signature hands the renderer's reference to a raw field of the caller.
    if (rendererOut)
        *rendererOut = renderer.Detach();
    return hr;
}

#ifdef QEL_TEST_SEAMS
LONG RefuseNextPreviewBuilds(LONG count) {
    return InterlockedExchange(&g_previewBuildsToRefuse, count > 0 ? count : 0);
}
#endif

BOOL CLiveCapture::BuildPreviewGraph() {
    if (m_bPreviewBuilt)
        return TRUE;
    if (m_state == LIVE_PREVIEWING || m_state == LIVE_CAPTURING || !m_pVideoCapFilter)
        return FALSE;
#ifdef QEL_TEST_SEAMS
    if (PreviewBuildRefusedForTests())
        return FALSE;
#endif
    if (m_bWantAudio && !m_pAudioCapFilter && m_nAudioSwitch)
        return FALSE;
    if (m_bCaptureBuilt)
        TearDownGraph();
    xChangeReslution(1); // give back a resolution lowered for a capture

    if (m_bUseVMR) {
        SafeRelease(m_pPreviewRenderer);
        m_hr = xRenderStreamToVMR(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, m_pVideoCapFilter, nullptr,
                                  &m_pPreviewRenderer, 0);
    }
    m_hr = BuilderSampleGrabber();

    IBaseFilter* grabber = m_bGrabberReady ? m_pGrabberFilter : nullptr;
    m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, m_pVideoCapFilter, grabber,
                                    nullptr);
    if (!IsPreviewRendered(m_hr)) {
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, m_pVideoCapFilter, grabber,
                                        nullptr);
        if (FAILED(m_hr)) {
            LIVECAP_LOG(this, m_hr);
            // A preview already rendered into the mixing renderer cannot be rendered twice: the
            // picture is there, only the grabber stays out of the stream.
            if (!m_pPreviewRenderer)
                return FALSE;
            m_bGrabberReady = FALSE;
        }
    }

    if (m_bGrabberReady) {
        qel::ComPtr<ISampleGrabber> sampleGrabber;
        if (FAILED(QueryInto(m_pGrabberFilter, IID_ISampleGrabber, sampleGrabber))) {
            m_bGrabberReady = FALSE;
        } else {
            AM_MEDIA_TYPE connected = {};
            m_hr = sampleGrabber->GetConnectedMediaType(&connected);
            if (SUCCEEDED(m_hr)) {
                if (connected.formattype == FORMAT_VideoInfo && connected.pbFormat &&
                    connected.cbFormat >= sizeof(VIDEOINFOHEADER))
                    m_bihGrabber = reinterpret_cast<VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader;
                WixFreeMediaType(&connected);
            } else {
                LIVECAP_LOG(this, m_hr);
            }
        }
    }

    SafeRelease(m_pVideoWindow);
    m_hr = m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow));
    if (FAILED(m_hr)) {
        m_pVideoWindow = nullptr;
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(m_hPictureWnd));
    m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    xFitVideoWindow();
    m_pVideoWindow->put_Visible(OATRUE);

    if (m_pVideoConfig && m_nFrameRate > 0) { // a zero rate keeps the camera's rate
        AM_MEDIA_TYPE* format = nullptr;
        if (SUCCEEDED(m_pVideoConfig->GetFormat(&format)) && format) {
            if (format->formattype == FORMAT_VideoInfo && format->pbFormat &&
                format->cbFormat >= sizeof(VIDEOINFOHEADER)) {
                reinterpret_cast<VIDEOINFOHEADER*>(format->pbFormat)->AvgTimePerFrame =
                    FrameRateToAvgTime(m_nFrameRate);
                m_hr = m_pVideoConfig->SetFormat(format);
                if (FAILED(m_hr))
                    LIVECAP_LOG(this, m_hr);
            }
            WixDeleteMediaType(format);
        }
    }

    SafeRelease(m_pMediaEvent);
    if (SUCCEEDED(m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent))))
        m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hSinkWnd), WM_LIVECAP_GRAPHNOTIFY,
                                       reinterpret_cast<LONG_PTR>(this));
    else
        m_pMediaEvent = nullptr;

    xReapplyPreviewEffects();
    m_bPreviewBuilt = TRUE;
    return TRUE;
}

void CLiveCapture::xFitVideoWindow() {
    if (m_pVideoWindow)
        m_pVideoWindow->SetWindowPosition(0, 0, labs(m_rcShow.right - m_rcShow.left),
                                          labs(m_rcShow.bottom - m_rcShow.top));
}

void CLiveCapture::xReapplyPreviewEffects() {
    for (int i = 0; i < EFFECT_COUNT; ++i)
        m_bEffectInPreview[i] = FALSE;
    m_bFlipInPreview = FALSE;
    m_bRotateInPreview = FALSE;

    SetFlipEnable(1, m_nFlipBits);
    SetRotateEnable(1, m_nRotateDegree, m_nRotateMethod, m_dwRotateBgColor);
    // The zoom plug-in is always in the chain, switched off when zoom is not wanted.
    const BOOL zoomWanted = m_bEffectOn[EFFECT_ZOOM];
    SetDigitalZoomEnable(1, m_nZoomIndex);
    SetDigitalZoomEnable(zoomWanted, m_nZoomIndex);
    if (m_bEffectOn[EFFECT_ENHANCE])
        SetEnhanceEnable(1, m_nEnhanceLevel);
    if (m_bEffectOn[EFFECT_TONE])
        SetToneEnable(1, m_nToneLevel);
    if (m_bEffectOn[EFFECT_LOWLIGHT])
        SetLowLightEnable(1, m_nLowLightLevel);
    if (m_bEffectOn[EFFECT_WHITEBOARD])
        SetWhiteBoardEnable(1, m_nWhiteBoardLevel);
    if (m_bEffectOn[EFFECT_CB])
        SetCBEnable(1, m_nBrightness, m_nContrast);
    if (m_bEffectOn[EFFECT_PHOTOFRAME])
        SetPhotoFrameEnable(1, m_wszPhotoFrame);
    if (m_bEffectOn[EFFECT_DATETIME])
        SetDateTimeEnable(1, m_nDateTimePadding);
    if (!m_bEffectOn[EFFECT_SPECIAL])
        return;
    typedef void (CLiveCapture::*SpecialSetter)(int, int);
    static const SpecialSetter setters[SPEFF_COUNT] = {
        &CLiveCapture::SetBlackWhiteEnable, &CLiveCapture::SetEmbossEnable, &CLiveCapture::SetSphereEnable,
        &CLiveCapture::SetSepiaEnable,      &CLiveCapture::SetSnowEnable,   &CLiveCapture::SetNegativeEnable,
        &CLiveCapture::SetMosaicEnable,     &CLiveCapture::SetSwirlEnable,  &CLiveCapture::SetSpotLightEnable,
    };
    for (int i = 0; i < SPEFF_COUNT; ++i) {
        if (!m_bSpecialSelected[i])
            continue;
        m_bSpecialSelected[i] = FALSE;
        (this->*setters[i])(1, m_nSpecialStrength[i]);
    }
}

BOOL CLiveCapture::StartPreview() {
    if (m_state == LIVE_PREVIEWING)
        return TRUE;
    if (!m_bPreviewBuilt || !m_pGraph)
        return FALSE;
    qel::ComPtr<IMediaControl> control;
    m_hr = QueryInto(m_pGraph, IID_IMediaControl, control);
    if (SUCCEEDED(m_hr)) {
        m_hr = control->Run();
        if (FAILED(m_hr)) {
            control->Stop();
            StopEveryFilter(m_pGraph);
        }
    }
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    m_state = LIVE_PREVIEWING;
    return TRUE;
}

BOOL CLiveCapture::StopPreview() {
    if (m_state != LIVE_PREVIEWING || !m_pGraph)
        return FALSE;
    qel::ComPtr<IMediaControl> control;
    m_hr = QueryInto(m_pGraph, IID_IMediaControl, control);
    if (SUCCEEDED(m_hr)) {
        control->Stop();
    } else {
        LIVECAP_LOG(this, m_hr);
    }
    m_state = LIVE_STOPPED;
    xReleasePreEffFilters();
    return TRUE;
}

void CLiveCapture::TearDownGraph() {
    SafeRelease(m_pAudioMuter);
    SafeRelease(m_pPreviewRenderer);
    SafeRelease(m_pMux);
    SafeRelease(m_pFileSink);
    SafeRelease(m_pConfigAviMux);
    if (m_pGrabberFilter) {
        qel::ComPtr<ISampleGrabber> sampleGrabber;
        if (SUCCEEDED(QueryInto(m_pGrabberFilter, IID_ISampleGrabber, sampleGrabber)))
            sampleGrabber->SetCallback(nullptr, 1);
        SafeRelease(m_pGrabberFilter);
    }
    m_bGrabberReady = FALSE;
    if (m_pVideoWindow) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_Owner(0);
        SafeRelease(m_pVideoWindow);
    }
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pDroppedFrames);
    if (m_pGraph) {
        if (m_pVideoCapFilter)
            NukeDownstream(m_pGraph, m_pVideoCapFilter);
        if (m_pAudioCapFilter)
            NukeDownstream(m_pGraph, m_pAudioCapFilter);
    }
    if (!m_bSnapCallerBuffer) {
        delete[] m_pSnapBuffer;
        m_pSnapBuffer = nullptr;
    }
    m_bPreviewBuilt = FALSE;
    m_bCaptureBuilt = FALSE;
}

void CLiveCapture::NukeDownstream(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter)
        return;
    qel::ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.GetAddressOf())))
        return;
    pins->Reset();
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        qel::ComPtr<IPin> peer;
        if (FAILED(pin->ConnectedTo(peer.GetAddressOf())) || !peer)
            continue;
        PIN_INFO info = {};
        if (FAILED(peer->QueryPinInfo(&info)))
            break;
        const qel::ComPtr<IBaseFilter> downstream = qel::TakeOver(info.pFilter);
        if (info.dir == PINDIR_INPUT && downstream) {
            NukeDownstream(graph, downstream.Get());
            graph->Disconnect(peer.Get());
            graph->Disconnect(pin.Get());
            graph->RemoveFilter(downstream.Get());
        }
    }
}

HRESULT CLiveCapture::SetShowRect(int x, int y, int width, int height) {
    SetRect(&m_rcShow, x, y, x + width, y + height);
    switch (m_state) {
    case LIVE_CLEAN:
    case LIVE_STOPPED:
        SetWindowPos(m_hPictureWnd, nullptr, x, y, width, height, SWP_SHOWWINDOW);
        return 0;
    case LIVE_PREVIEWING:
    case LIVE_CAPTURING:
        if (!m_pVideoWindow)
            return 1;
        m_pVideoWindow->put_Visible(OAFALSE);
        SetWindowPos(m_hPictureWnd, nullptr, x, y, width, height, SWP_SHOWWINDOW);
        m_pVideoWindow->SetWindowPosition(0, 0, width, height);
        if (m_bShowPreview)
            m_pVideoWindow->put_Visible(OATRUE);
        return 0;
    default:
        return 1;
    }
}

void CLiveCapture::EnableVMR(BOOL on) {
    m_bUseVMR = on;
}

HRESULT CLiveCapture::ShowPreview(int show) {
    m_bShowPreview = show;
    if (!m_pVideoWindow)
        return 1;
    return m_pVideoWindow->put_Visible(show ? OATRUE : OAFALSE);
}

HRESULT CLiveCapture::GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n, IPin** pinOut) {
    if (!pinOut)
        return E_POINTER;
    *pinOut = nullptr;
    if (!filter)
        return E_POINTER;
    qel::ComPtr<IEnumPins> pins;
    const HRESULT hr = filter->EnumPins(pins.GetAddressOf());
    if (FAILED(hr))
        return hr;
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION pinDirection;
        if (SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == direction && n-- == 0) {
            *pinOut = pin.Detach();
            return S_OK;
        }
    }
    return E_FAIL;
}

IPin* CLiveCapture::GetInPin(IBaseFilter* filter, int n) {
    IPin* pin = nullptr;
    GetPin(filter, PINDIR_INPUT, n, &pin);
    return pin;
}

IPin* CLiveCapture::GetOutPin(IBaseFilter* filter, int n) {
    IPin* pin = nullptr;
    GetPin(filter, PINDIR_OUTPUT, n, &pin);
    return pin;
}
