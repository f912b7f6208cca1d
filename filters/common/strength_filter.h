#pragma once
// The plug-ins whose one value is a strength (IQelStrengthParams): a value and a kernel. The filter
// keeps the value, stored as given (0..100 by convention); the streaming thread hands it to the
// kernel before the first frame after a change, so the kernel is only ever touched by that thread.
#include "effect_filter_base.h"

#include <atomic>
#include <memory>

// The frame work of one strength plug-in.
class CStrengthKernel {
public:
    virtual ~CStrengthKernel() = default;
    // The strength for the frames from now on.
    virtual void SetStrength(int strength) = 0;
    // The effect on one frame; false: the input goes out unchanged.
    virtual bool Process(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) = 0;
};

// What tells one strength plug-in from another, besides its kernel.
struct StrengthPlugin {
    const char* name;
    const CLSID* clsid;
    const CLSID* pageClsid;
    int defaultStrength;
    FrameStart start;
};

class CStrengthFilter : public CEffectFilterBase {
public:
    // The filter over kernel (taken over, null when it could not be made): null with E_OUTOFMEMORY
    // in *hr when either is missing.
    static CUnknown* Create(const StrengthPlugin& plugin, std::unique_ptr<CStrengthKernel> kernel, IUnknown* outer,
                            HRESULT* hr);

    CStrengthFilter(const StrengthPlugin& plugin, std::unique_ptr<CStrengthKernel> kernel, IUnknown* outer,
                    HRESULT* hr);
    ~CStrengthFilter() override;

    void SetDefaults() override;

    HRESULT GetStrength(int* strength);
    HRESULT SetStrength(int strength);

protected:
    void TakeChangedValues() override;
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelStrengthParams> {
    public:
        explicit Params(CStrengthFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetStrength(int* strength) override { return m_filter->GetStrength(strength); }
        STDMETHODIMP SetStrength(int strength) override { return m_filter->SetStrength(strength); }

    private:
        CStrengthFilter* m_filter;
    };

    const int m_defaultStrength;
    std::atomic<int> m_strength;
    // Raised by SetStrength, taken down by the streaming thread when it hands the value on.
    std::atomic<bool> m_strengthChanged{false};
    const std::unique_ptr<CStrengthKernel> m_kernel;
    Params m_params{this};
};
