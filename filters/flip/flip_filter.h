#pragma once
// The flip plug-in: mirrors the picture for the engine. Value 1 (SetValue) nonzero flips it top to
// bottom, value 2 (SetValue2) nonzero mirrors it left to right; both make a half turn.
#include "effect_filter_base.h"

#include <atomic>

class CFlipFilter : public CEffectFilterBase {
public:
    CFlipFilter(IUnknown* outer, HRESULT* hr);
    ~CFlipFilter() override;

    void SetDefaults() override;

    HRESULT GetValue(int* value);
    HRESULT SetValue(int value);
    HRESULT GetValue2(int* value);
    HRESULT SetValue2(int value);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelFlipParams> {
    public:
        explicit Params(CFlipFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetValue(int* value) override { return m_filter->GetValue(value); }
        STDMETHODIMP SetValue(int value) override { return m_filter->SetValue(value); }
        STDMETHODIMP GetValue2(int* value) override { return m_filter->GetValue2(value); }
        STDMETHODIMP SetValue2(int value) override { return m_filter->SetValue2(value); }

    private:
        CFlipFilter* m_filter;
    };

    // Set under the filter lock, read by the streaming thread without it.
    std::atomic<int> m_value{0};
    std::atomic<int> m_value2{0};
    Params m_params{this};
};
