#include "contrast_brightness_filter.h"

#include "QelPluginIds.h"

CContrastBrightnessFilter::CContrastBrightnessFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Contrast brightness filter", outer, CLSID_QelFilter_ContrastBrightness,
                        &CLSID_QelPage_ContrastBrightness, SamplePropertyCopy::kAll, FrameStart::kEmpty, hr) {
    CContrastBrightnessFilter::SetDefaults();
}

CContrastBrightnessFilter::~CContrastBrightnessFilter() { CContrastBrightnessFilter::ReleaseBuffers(); }

void CContrastBrightnessFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_contrast = 0;
    m_brightness = 0;
    m_valuesChanged = false;
    m_frame.SetValues(0, 0);
}

void CContrastBrightnessFilter::TakeChangedValues() {
    // A setter that runs after the flag is taken raises it again: the next frame picks its value up.
    if (m_valuesChanged.exchange(false))
        m_frame.SetValues(m_contrast.load(), m_brightness.load());
}

bool CContrastBrightnessFilter::ProcessFrame(const BYTE* source, BYTE* target,
                                             const qel::imaging::PixelLayout& layout) {
    // Refused by the table: the input goes out unchanged.
    return m_frame.Process(source, target, layout);
}

HRESULT CContrastBrightnessFilter::GetContrast(int* contrast) { return ReadParam(contrast, m_contrast); }

HRESULT CContrastBrightnessFilter::SetContrast(int contrast) {
    const HRESULT hr = StoreParam(m_contrast, contrast);
    m_valuesChanged = true;
    return hr;
}

HRESULT CContrastBrightnessFilter::GetBrightness(int* brightness) { return ReadParam(brightness, m_brightness); }

HRESULT CContrastBrightnessFilter::SetBrightness(int brightness) {
    const HRESULT hr = StoreParam(m_brightness, brightness);
    m_valuesChanged = true;
    return hr;
}
