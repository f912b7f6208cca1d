#include "digital_zoom_filter.h"

#include "QelPluginIds.h"

CDigitalZoomFilter::CDigitalZoomFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Digital zoom filter", outer, CLSID_QelFilter_DigitalZoom, &CLSID_QelPage_DigitalZoom,
                        SamplePropertyCopy::kAll, FrameStart::kEmpty, hr) {
    CDigitalZoomFilter::SetDefaults();
}

CDigitalZoomFilter::~CDigitalZoomFilter() { CDigitalZoomFilter::ReleaseBuffers(); }

void CDigitalZoomFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    // The engine keeps its step: defaults only reset what GetZoom reports.
    m_percent = 100;
}

HRESULT CDigitalZoomFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    const HRESULT hr = CEffectFilterBase::SetMediaType(direction, type);
    if (FAILED(hr) || direction != PINDIR_INPUT)
        return hr;
    if (!InputPin() || !InputPin()->IsConnected() || type->formattype != FORMAT_VideoInfo)
        return E_FAIL;
    m_engine.SetFormat(FrameLayout());
    return S_OK;
}

bool CDigitalZoomFilter::ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout&) {
    // The engine scales with the layout its plan was built for, from SetMediaType.
    const size_t bytes = FrameBytes();
    m_engine.Process(source, bytes, target, bytes);
    return true;
}

HRESULT CDigitalZoomFilter::GetZoom(int* percent) { return ReadParam(percent, m_percent); }

HRESULT CDigitalZoomFilter::SetZoom(int percent) {
    CAutoLock lock(&m_filterLock);
    m_percent = percent;
    m_engine.SetZoom(percent);
    MarkChanged();
    return S_OK;
}
