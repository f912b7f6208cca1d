#include "auto_correct_filter.h"

#include "QelPluginIds.h"

#include <cstring>
#include <new>

using qel::imaging::AutoCorrection;

CAutoCorrectFilter::CAutoCorrectFilter(const char* name, IUnknown* outer, REFCLSID clsid,
                                       const CLSID* pageClsid, AutoCorrection correction, HRESULT* hr)
    : CEffectFilterBase(name, outer, clsid, pageClsid, SamplePropertyCopy::kAll, hr),
      m_correction(correction) {
    CAutoCorrectFilter::SetDefaults();
}

CAutoCorrectFilter::~CAutoCorrectFilter() {
    CAutoCorrectFilter::ReleaseBuffers();
}

void CAutoCorrectFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_strength = 50;
}

HRESULT CAutoCorrectFilter::TransformFrame(IMediaSample* in, IMediaSample* out) {
    EffectFrame frame;
    if (ShouldProcess(in) && LockFrame(in, out, &frame)) {
        const qel::imaging::PixelLayout layout{frame.width, frame.height, frame.stride, 3,
                                               qel::imaging::ByteOrder::BGR};
        // The output starts as the input (row padding included) and is corrected in place; a frame
        // the routine refuses is left as that copy.
        std::memcpy(frame.target, frame.source, FrameBytes());
        if (qel::imaging::AutoCorrectFrame(frame.target, frame.target, layout,
                                           m_strength.load(std::memory_order_relaxed), m_correction))
            return S_OK;
    }
    return CopyThrough(in, out);
}

HRESULT CAutoCorrectFilter::GetStrength(int* strength) {
    if (!strength)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *strength = m_strength;
    return S_OK;
}

HRESULT CAutoCorrectFilter::SetStrength(int strength) {
    CAutoLock lock(&m_filterLock);
    m_strength = strength;
    MarkChanged();
    return S_OK;
}

CUnknown* CALLBACK CAutoToneFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CAutoToneFilter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CAutoToneFilter::CAutoToneFilter(IUnknown* outer, HRESULT* hr)
    : CAutoCorrectFilter("Auto tone filter", outer, CLSID_QelFilter_AutoTone, &CLSID_QelPage_AutoTone,
                         AutoCorrection::Tone, hr) {}

CUnknown* CALLBACK CAutoEnhanceFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CAutoEnhanceFilter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CAutoEnhanceFilter::CAutoEnhanceFilter(IUnknown* outer, HRESULT* hr)
    : CAutoCorrectFilter("Auto enhance filter", outer, CLSID_QelFilter_AutoEnhance,
                         &CLSID_QelPage_AutoEnhance, AutoCorrection::Enhance, hr) {}
