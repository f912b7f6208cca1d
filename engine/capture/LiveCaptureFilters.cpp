// The capture filters: graph builder, filter graph, camera and audio input, their stream configurations
// and the camera's picture controls; made once per device choice and outliving graph rebuilds.
#include "LiveCaptureInternal.h"

#include "CameraDriver.h"

namespace {
const int kAudioNameChars = 127;
} // namespace

HRESULT CLiveCapture::InitCapFilters() {
    if (!m_pBuilder) {
        m_hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_ICaptureGraphBuilder2,
                                reinterpret_cast<void**>(&m_pBuilder));
        if (FAILED(m_hr)) {
            LIVECAP_LOG(this, m_hr);
            return m_hr;
        }
    }
    if (m_nCurVideoDevice >= 0 && m_rgVideoMoniker[m_nCurVideoDevice]) {
        SafeRelease(m_pVideoCapFilter);
        m_hr = m_rgVideoMoniker[m_nCurVideoDevice]->BindToObject(
            nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&m_pVideoCapFilter));
        if (FAILED(m_hr)) {
            const HRESULT failure = m_hr;
            FreeCapFilters();
            LIVECAP_LOG(this, failure);
            return failure;
        }
    }
    if (!m_pGraph) {
        m_hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IGraphBuilder, reinterpret_cast<void**>(&m_pGraph));
        if (FAILED(m_hr)) {
            const HRESULT failure = m_hr;
            FreeCapFilters();
            LIVECAP_LOG(this, failure);
            return failure;
        }
    }
    m_hr = m_pBuilder->SetFiltergraph(m_pGraph);
    if (SUCCEEDED(m_hr))
        m_hr = m_pVideoCapFilter ? m_pGraph->AddFilter(m_pVideoCapFilter, nullptr) : E_POINTER;
    if (FAILED(m_hr)) {
        const HRESULT failure = m_hr;
        FreeCapFilters();
        LIVECAP_LOG(this, failure);
        return failure;
    }
    SafeRelease(m_pVideoConfig);
    SafeRelease(m_pProcAmp);
    SafeRelease(m_pCameraButton);
    m_hr = m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter,
                                     IID_IAMStreamConfig, reinterpret_cast<void**>(&m_pVideoConfig));
    if (FAILED(m_hr))
        m_hr = m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter,
                                         IID_IAMStreamConfig, reinterpret_cast<void**>(&m_pVideoConfig));
    if (m_bWantAudio)
        InitAudioCapFilter();
    if (FAILED(m_pVideoCapFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&m_pProcAmp))))
        m_pProcAmp = nullptr;
    if (FAILED(m_pVideoCapFilter->QueryInterface(IID_ICameraButtonState,
                                                 reinterpret_cast<void**>(&m_pCameraButton))))
        m_pCameraButton = nullptr;
    return 0;
}

HRESULT CLiveCapture::InitAudioCapFilter() {
    if (m_nCurAudioDevice < 0 || !m_rgAudioMoniker[m_nCurAudioDevice])
        return 0;
    if (!m_pGraph || !m_pBuilder)
        return 1;
    if (m_pAudioCapFilter) {
        NukeDownstream(m_pGraph, m_pAudioCapFilter);
        m_pGraph->RemoveFilter(m_pAudioCapFilter);
        SafeRelease(m_pAudioCapFilter);
    }
    SafeRelease(m_pAudioConfig);
    IMoniker* moniker = m_rgAudioMoniker[m_nCurAudioDevice];
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                 reinterpret_cast<void**>(&m_pAudioCapFilter));
    if (FAILED(m_hr)) {
        m_pAudioCapFilter = nullptr;
        LIVECAP_LOG(this, m_hr);
        return m_hr;
    }
    WCHAR name[kAudioNameChars + 1] = {0};
    GetDeviceNameByMoniker(moniker, name, kAudioNameChars + 1);
    m_hr = m_pGraph->AddFilter(m_pAudioCapFilter, name);
    if (FAILED(m_hr)) {
        SafeRelease(m_pAudioCapFilter);
        LIVECAP_LOG(this, m_hr);
        return m_hr;
    }
    if (FAILED(m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pAudioCapFilter,
                                         IID_IAMStreamConfig, reinterpret_cast<void**>(&m_pAudioConfig))))
        m_pAudioConfig = nullptr;
    return 0;
}

void CLiveCapture::FreeCapFilters() {
    SafeRelease(m_pGraph);
    SafeRelease(m_pBuilder);
    SafeRelease(m_pProcAmp);
    SafeRelease(m_pVideoCapFilter);
    SafeRelease(m_pAudioCapFilter);
    SafeRelease(m_pVideoConfig);
    SafeRelease(m_pAudioConfig);
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        SafeRelease(m_pPreEffect[i]);
        SafeRelease(m_pCapEffect[i]);
    }
    SafeRelease(m_pPreFlipFilter);
    SafeRelease(m_pCapFlipFilter);
    SafeRelease(m_pSnapshotItf[0]);
    SafeRelease(m_pSnapshotItf[1]);
    SafeRelease(m_pPreviewRenderer);
    SafeRelease(m_pCameraButton);
    SafeRelease(m_pPreRotateFilter);
    SafeRelease(m_pCapRotateFilter);
}

void CLiveCapture::xReleasePreEffFilters() {
    for (int i = 0; i < EFFECT_COUNT; ++i)
        SafeRelease(m_pPreEffect[i]);
    SafeRelease(m_pPreFlipFilter);
    SafeRelease(m_pPreRotateFilter);
}

void CLiveCapture::xReleaseCapEffFilters() {
    for (int i = 0; i < EFFECT_COUNT; ++i)
        SafeRelease(m_pCapEffect[i]);
    SafeRelease(m_pCapFlipFilter);
}
