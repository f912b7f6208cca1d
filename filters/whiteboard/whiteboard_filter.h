#pragma once
// The whiteboard plug-in's filter: hands every frame to the whiteboard enhancement with one strength.
#include "effect_filter_base.h"

#include "qelimaging/whiteboard.h"

#include <atomic>
#include <memory>

class CWhiteboardFilter : public CEffectFilterBase {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    CWhiteboardFilter(IUnknown* outer, HRESULT* hr);
    ~CWhiteboardFilter() override;

    void SetDefaults() override;
    void ReleaseBuffers() override;
    HRESULT TransformFrame(IMediaSample* in, IMediaSample* out) override;

    HRESULT GetStrength(int* strength);
    // Stored as given: 0..100 by convention, any value is handed on.
    HRESULT SetStrength(int strength);

protected:
    IUnknown* ParamsObject() override { return &params_; }

private:
    class Params : public CQelParamsObject<IQelStrengthParams> {
    public:
        explicit Params(CWhiteboardFilter* filter) : CQelParamsObject(filter), whiteboard_(filter) {}
        STDMETHODIMP GetStrength(int* strength) override { return whiteboard_->GetStrength(strength); }
        STDMETHODIMP SetStrength(int strength) override { return whiteboard_->SetStrength(strength); }

    private:
        CWhiteboardFilter* whiteboard_;
    };

    // Read by the streaming thread on every frame without the lock.
    std::atomic<int> m_strength{50};
    // What the enhancement routine is handed; either may be missing after a failed allocation, and
    // frames then pass unchanged.
    std::unique_ptr<qel::imaging::WhiteboardImage> m_image;
    std::unique_ptr<qel::imaging::WhiteboardParams> m_settings;
    Params params_{this};
};
