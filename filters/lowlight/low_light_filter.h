#pragma once
// The low-light plug-in's filter: brightens dark video with one strength (levels stretch, gamma lift,
// automatic contrast). The strength is stored by the setter; the streaming thread derives the
// parameters before the first frame after a change.
#include "core/low_light_frame.h"
#include "effect_filter_base.h"

#include <atomic>

class CLowLightFilter : public CEffectFilterBase {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    CLowLightFilter(IUnknown* outer, HRESULT* hr);
    ~CLowLightFilter() override;

    void SetDefaults() override;
    HRESULT TransformFrame(IMediaSample* in, IMediaSample* out) override;

    HRESULT GetStrength(int* strength);
    // Stored as given: 0..100 by convention.
    HRESULT SetStrength(int strength);

protected:
    IUnknown* ParamsObject() override { return &params_; }

private:
    class Params : public CQelParamsObject<IQelStrengthParams> {
    public:
        explicit Params(CLowLightFilter* filter) : CQelParamsObject(filter), lowLight_(filter) {}
        STDMETHODIMP GetStrength(int* strength) override { return lowLight_->GetStrength(strength); }
        STDMETHODIMP SetStrength(int strength) override { return lowLight_->SetStrength(strength); }

    private:
        CLowLightFilter* lowLight_;
    };

    std::atomic<int> m_strength{CLowLightFrame::kDefaultStrength};
    // Raised by SetStrength, taken down by the streaming thread when it derives the parameters anew.
    std::atomic<bool> m_strengthChanged{false};
    CLowLightFrame m_frame;  // the streaming thread's, once constructed
    Params params_{this};
};
