#include "low_light_filter.h"

#include "QelPluginIds.h"

#include <new>

CUnknown* CALLBACK CLowLightFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CLowLightFilter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CLowLightFilter::CLowLightFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Low light filter", outer, CLSID_QelFilter_LowLight, &CLSID_QelPage_LowLight,
                        SamplePropertyCopy::kAll, hr) {
    CLowLightFilter::SetDefaults();
}

CLowLightFilter::~CLowLightFilter() {
    m_enabled = 0;
    CLowLightFilter::ReleaseBuffers();
}

void CLowLightFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_strength = CLowLightFrame::kDefaultStrength;
    m_strengthChanged = false;
    m_frame.SetStrength(m_strength);
}

HRESULT CLowLightFilter::TransformFrame(IMediaSample* in, IMediaSample* out) {
    if (m_strengthChanged.exchange(false))
        m_frame.SetStrength(m_strength.load());
    EffectFrame frame;
    if (ShouldProcess(in) && LockFrame(in, out, &frame) &&
        m_frame.Process(frame.source, frame.target, frame.width, frame.height, frame.stride))
        return S_OK;
    // Not to be processed, or refused by the routines: the input goes out unchanged.
    return CopyThrough(in, out);
}

HRESULT CLowLightFilter::GetStrength(int* strength) {
    if (!strength)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *strength = m_strength;
    return S_OK;
}

HRESULT CLowLightFilter::SetStrength(int strength) {
    CAutoLock lock(&m_filterLock);
    m_strength = strength;
    m_strengthChanged = true;
    MarkChanged();
    return S_OK;
}
