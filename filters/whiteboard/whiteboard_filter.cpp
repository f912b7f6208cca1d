#include "whiteboard_filter.h"

#include "QelPluginIds.h"

#include <cstring>
#include <new>

CUnknown* CALLBACK CWhiteboardFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CWhiteboardFilter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CWhiteboardFilter::CWhiteboardFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Whiteboard filter", outer, CLSID_QelFilter_Whiteboard, &CLSID_QelPage_Whiteboard,
                        SamplePropertyCopy::kAll, hr) {
    CWhiteboardFilter::SetDefaults();
}

CWhiteboardFilter::~CWhiteboardFilter() {
    m_enabled = 0;
    CWhiteboardFilter::ReleaseBuffers();
}

void CWhiteboardFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_strength = 50;
    m_image.reset(new (std::nothrow) qel::imaging::WhiteboardImage{});
    if (m_image) {
        m_image->bytesPerPixel = 3;
        m_image->bitsPerChannel = 8;
        m_image->componentOrder = 1;
    }
    m_settings.reset(new (std::nothrow) qel::imaging::WhiteboardParams{});
    if (m_settings)
        m_settings->strength = m_strength;
}

void CWhiteboardFilter::ReleaseBuffers() {
    m_settings.reset();
    m_image.reset();
    CEffectFilterBase::ReleaseBuffers();
}

HRESULT CWhiteboardFilter::TransformFrame(IMediaSample* in, IMediaSample* out) {
    EffectFrame frame;
    if (m_image && m_settings && ShouldProcess(in) && LockFrame(in, out, &frame)) {
        m_settings->strength = m_strength.load(std::memory_order_relaxed);
        m_image->width = frame.width;
        m_image->height = frame.height;
        m_image->stride = frame.stride;
        // The output starts as the input (row padding included) and is enhanced in place; the routine
        // writes nothing when it fails, so the input then goes out unchanged.
        std::memcpy(frame.target, frame.source, FrameBytes());
        m_image->source = frame.target;
        m_image->destination = frame.target;
        if (qel::imaging::EnhanceWhiteboard(m_image.get(), m_settings.get(), nullptr) ==
            qel::imaging::kWhiteboardOk)
            return S_OK;
    }
    return CopyThrough(in, out);
}

HRESULT CWhiteboardFilter::GetStrength(int* strength) {
    if (!strength)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *strength = m_strength;
    return S_OK;
}

HRESULT CWhiteboardFilter::SetStrength(int strength) {
    CAutoLock lock(&m_filterLock);
    m_strength = strength;
    MarkChanged();
    return S_OK;
}
