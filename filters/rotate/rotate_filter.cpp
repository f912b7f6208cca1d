#include "rotate_filter.h"

#include "QelPluginIds.h"
#include "core/rotate_kernel.h"

CRotateFilter::CRotateFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Rotate filter", outer, CLSID_QelFilter_Rotate, &CLSID_QelPage_Rotate,
                        SamplePropertyCopy::kAllMediaTimesOnSuccess, FrameStart::kEmpty, hr) {
    CRotateFilter::SetDefaults();
}

CRotateFilter::~CRotateFilter() { CRotateFilter::ReleaseBuffers(); }

void CRotateFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_value = 0;
    m_value2 = 0;
    m_angle = 0;
    m_method = 0;
    m_backColor = 0;
}

bool CRotateFilter::ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) {
    RotateParams params;
    params.angle = m_angle.load(std::memory_order_relaxed);
    params.method = m_method.load(std::memory_order_relaxed);
    params.backColor = m_backColor.load(std::memory_order_relaxed);
    return RotateFrame(source, target, layout, params);
}

HRESULT CRotateFilter::GetValue(int* value) { return ReadParam(value, m_value); }

HRESULT CRotateFilter::SetValue(int value) { return StoreParam(m_value, value); }

HRESULT CRotateFilter::GetValue2(int* value) { return ReadParam(value, m_value2); }

HRESULT CRotateFilter::SetValue2(int value) { return StoreParam(m_value2, value); }

HRESULT CRotateFilter::SetMethod(int method) {
    m_method = method;
    return S_OK;
}

HRESULT CRotateFilter::GetMethod(int* method) {
    if (!method)
        return E_POINTER;
    *method = m_method;
    return S_OK;
}

HRESULT CRotateFilter::SetBackColor(COLORREF color) {
    m_backColor = color;
    return S_OK;
}

HRESULT CRotateFilter::GetBackColor(COLORREF* color) {
    if (!color)
        return E_POINTER;
    *color = m_backColor;
    return S_OK;
}

HRESULT CRotateFilter::SetAngle(int degrees) { return StoreParam(m_angle, degrees); }

HRESULT CRotateFilter::GetAngle(int* degrees) { return ReadParam(degrees, m_angle); }
