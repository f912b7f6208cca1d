#include "special_effect_filter.h"

#include "QelPluginIds.h"

#include <new>

CSpecialEffectFilter::CSpecialEffectFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Special effect filter", outer, CLSID_QelFilter_SpecialEffect, &CLSID_QelPage_SpecialEffect,
                        SamplePropertyCopy::kLengthOnly, FrameStart::kEmpty, hr) {
    CSpecialEffectFilter::SetDefaults();
}

CSpecialEffectFilter::~CSpecialEffectFilter() { CSpecialEffectFilter::ReleaseBuffers(); }

void CSpecialEffectFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_slot.SetEffect(CEffectSlot::kDefaultEffectIndex);
    m_slot.SetStrength(CEffectSlot::kDefaultStrength);
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
    m_slot.SetFormat(m_width, m_height, m_bytesPerPixel, m_stride);
    return S_OK;
}

bool CSpecialEffectFilter::ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout&) {
    // The effects process the layout they were initialised with, from SetMediaType; the slot
    // delivers the input unchanged when its effect cannot process the frame.
    const size_t bytes = FrameBytes();
    m_slot.ProcessFrame(source, bytes, target, bytes);
    return true;
}

HRESULT CSpecialEffectFilter::GetStrength(int* strength) {
    if (!strength)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *strength = m_slot.Strength();
    return S_OK;
}

HRESULT CSpecialEffectFilter::SetStrength(int strength) {
    CAutoLock lock(&m_filterLock);
    const bool built = m_slot.SetStrength(strength);
    MarkChanged();
    return built ? S_OK : E_OUTOFMEMORY;
}

HRESULT CSpecialEffectFilter::GetEffect(int* index) {
    if (!index)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *index = m_slot.EffectIndex();
    return S_OK;
}

HRESULT CSpecialEffectFilter::SetEffect(int index) {
    CAutoLock lock(&m_filterLock);
    const bool built = m_slot.SetEffect(index);
    MarkChanged();
    return built ? S_OK : E_OUTOFMEMORY;
}
