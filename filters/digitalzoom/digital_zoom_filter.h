#pragma once
// The digital zoom plug-in's filter: enlarges the centre of each frame 1.5 to 3 times to the full
// frame. The zoom engine keeps the frame format and the step; a step change made while a frame is
// scaled shows from the next frame.
#include "effect_filter_base.h"
#include "core/zoom_engine.h"

class CDigitalZoomFilter : public CEffectFilterBase {
public:
    CDigitalZoomFilter(IUnknown* outer, HRESULT* hr);
    ~CDigitalZoomFilter() override;

    void SetDefaults() override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;

    // Own slots of IQelDigitalZoomParams.
    HRESULT GetZoom(int* percent);
    HRESULT SetZoom(int percent);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelDigitalZoomParams> {
    public:
        explicit Params(CDigitalZoomFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetZoom(int* percent) override { return m_filter->GetZoom(percent); }
        STDMETHODIMP SetZoom(int percent) override { return m_filter->SetZoom(percent); }

    private:
        CDigitalZoomFilter* m_filter;
    };

    ZoomEngine m_engine;
    int m_percent = 100;
    Params m_params{this};
};
