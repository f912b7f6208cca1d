#include "flip_filter.h"

#include "QelPluginIds.h"
#include "core/flip_kernel.h"

CFlipFilter::CFlipFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Flip filter", outer, CLSID_QelFilter_Flip, nullptr, SamplePropertyCopy::kAll,
                        FrameStart::kEmpty, hr) {
    CFlipFilter::SetDefaults();
}

CFlipFilter::~CFlipFilter() { CFlipFilter::ReleaseBuffers(); }

void CFlipFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_value = 0;
    m_value2 = 0;
}

bool CFlipFilter::ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) {
    FlipParams params;
    params.topBottom = m_value.load(std::memory_order_relaxed) != 0;
    params.leftRight = m_value2.load(std::memory_order_relaxed) != 0;
    // Nothing to flip: the base's plain copy.
    return (params.topBottom || params.leftRight) && FlipFrame(source, target, layout, params);
}

HRESULT CFlipFilter::GetValue(int* value) { return ReadParam(value, m_value); }

HRESULT CFlipFilter::SetValue(int value) { return StoreParam(m_value, value); }

HRESULT CFlipFilter::GetValue2(int* value) { return ReadParam(value, m_value2); }

HRESULT CFlipFilter::SetValue2(int value) { return StoreParam(m_value2, value); }
