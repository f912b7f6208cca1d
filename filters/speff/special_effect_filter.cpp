#include "special_effect_filter.h"

#include "QelPluginIds.h"

#include <new>

CUnknown* CALLBACK CSpecialEffectFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CSpecialEffectFilter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CSpecialEffectFilter::CSpecialEffectFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Special effect filter", outer, CLSID_QelFilter_SpecialEffect, &CLSID_QelPage_SpecialEffect,
                        SamplePropertyCopy::kLengthOnly, hr) {
    CSpecialEffectFilter::SetDefaults();
}

CSpecialEffectFilter::~CSpecialEffectFilter() { CSpecialEffectFilter::ReleaseBuffers(); }

void CSpecialEffectFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    slot_.SetEffect(CEffectSlot::kDefaultEffectIndex);
    slot_.SetStrength(CEffectSlot::kDefaultStrength);
}

HRESULT CSpecialEffectFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    const HRESULT hr = CEffectFilterBase::SetMediaType(direction, type);
    if (FAILED(hr) || direction != PINDIR_INPUT)
        return hr;
    if (!InputPin() || !InputPin()->IsConnected() || type->subtype != MEDIASUBTYPE_RGB24)
        return E_FAIL;
    // A new connection keeps the chosen effect, initialised for the new format. A format no effect
    // can process leaves its frames copied.
    CAutoLock lock(&m_filterLock);
    slot_.SetFormat(m_width, m_height, m_bytesPerPixel, m_stride);
    return S_OK;
}

HRESULT CSpecialEffectFilter::TransformFrame(IMediaSample* in, IMediaSample* out) {
    EffectFrame frame;
    if (ShouldProcess(in) && LockFrame(in, out, &frame)) {
        const size_t bytes = FrameBytes();
        // The slot delivers the input unchanged when its effect cannot process the frame.
        slot_.ProcessFrame(frame.source, bytes, frame.target, bytes);
        return S_OK;
    }
    return CopyThrough(in, out);
}

HRESULT CSpecialEffectFilter::GetStrength(int* strength) {
    if (!strength)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *strength = slot_.Strength();
    return S_OK;
}

HRESULT CSpecialEffectFilter::SetStrength(int strength) {
    CAutoLock lock(&m_filterLock);
    const bool built = slot_.SetStrength(strength);
    MarkChanged();
    return built ? S_OK : E_OUTOFMEMORY;
}

HRESULT CSpecialEffectFilter::GetEffect(int* index) {
    if (!index)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *index = slot_.EffectIndex();
    return S_OK;
}

HRESULT CSpecialEffectFilter::SetEffect(int index) {
    CAutoLock lock(&m_filterLock);
    const bool built = slot_.SetEffect(index);
    MarkChanged();
    return built ? S_OK : E_OUTOFMEMORY;
}
