#pragma once
// The auto tone and auto enhance filters, one code base: every frame is corrected from its own
// statistics (tone; for auto enhance also colour), blended with the picture by one strength.
#include "effect_filter_base.h"

#include "qelimaging/auto_tone.h"

#include <atomic>

class CAutoCorrectFilter : public CEffectFilterBase {
public:
    CAutoCorrectFilter(const char* name, IUnknown* outer, REFCLSID clsid, const CLSID* pageClsid,
                       qel::imaging::AutoCorrection correction, HRESULT* hr);
    ~CAutoCorrectFilter() override;

    void SetDefaults() override;
    HRESULT TransformFrame(IMediaSample* in, IMediaSample* out) override;

    HRESULT GetStrength(int* strength);
    // Stored as given (no range check); the transform reads it on every frame.
    HRESULT SetStrength(int strength);

protected:
    IUnknown* ParamsObject() override { return &params_; }

private:
    class Params : public CQelParamsObject<IQelStrengthParams> {
    public:
        explicit Params(CAutoCorrectFilter* filter) : CQelParamsObject(filter), auto_(filter) {}
        STDMETHODIMP GetStrength(int* strength) override { return auto_->GetStrength(strength); }
        STDMETHODIMP SetStrength(int strength) override { return auto_->SetStrength(strength); }

    private:
        CAutoCorrectFilter* auto_;
    };

    const qel::imaging::AutoCorrection m_correction;
    std::atomic<int> m_strength{50};
    Params params_{this};
};

// Tone: stretches and equalises the tonal range.
class CAutoToneFilter : public CAutoCorrectFilter {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);
    CAutoToneFilter(IUnknown* outer, HRESULT* hr);
};

// Enhance: the same, then raises the colour saturation.
class CAutoEnhanceFilter : public CAutoCorrectFilter {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);
    CAutoEnhanceFilter(IUnknown* outer, HRESULT* hr);
};
