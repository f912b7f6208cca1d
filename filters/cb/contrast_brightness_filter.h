#pragma once
// The contrast/brightness plug-in's filter: every frame through one table built from a contrast and
// a brightness. The setters store the values; the streaming thread rebuilds the table before the
// first frame after a change.
#include "core/contrast_brightness_frame.h"
#include "effect_filter_base.h"

#include <atomic>

class CContrastBrightnessFilter : public CEffectFilterBase {
public:
    CContrastBrightnessFilter(IUnknown* outer, HRESULT* hr);
    ~CContrastBrightnessFilter() override;

    void SetDefaults() override;

    // Stored as given: -100..100 by convention.
    HRESULT GetContrast(int* contrast);
    HRESULT SetContrast(int contrast);
    HRESULT GetBrightness(int* brightness);
    HRESULT SetBrightness(int brightness);

protected:
    void TakeChangedValues() override;
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelContrastBrightnessParams> {
    public:
        explicit Params(CContrastBrightnessFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetContrast(int* contrast) override { return m_filter->GetContrast(contrast); }
        STDMETHODIMP SetContrast(int contrast) override { return m_filter->SetContrast(contrast); }
        STDMETHODIMP GetBrightness(int* brightness) override { return m_filter->GetBrightness(brightness); }
        STDMETHODIMP SetBrightness(int brightness) override { return m_filter->SetBrightness(brightness); }

    private:
        CContrastBrightnessFilter* m_filter;
    };

    std::atomic<int> m_contrast{0};
    std::atomic<int> m_brightness{0};
    // Raised by the setters, taken down by the streaming thread when it rebuilds the table.
    std::atomic<bool> m_valuesChanged{false};
    CContrastBrightnessFrame m_frame;  // the streaming thread's, once constructed
    Params m_params{this};
};
