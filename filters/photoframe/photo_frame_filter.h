#pragma once
// The photo frame plug-in's filter: lays a PNG picture with transparency over every frame. The
// overlay decodes and rescales on the setter's thread and swaps the result in between frames.
#include "effect_filter_base.h"
#include "core/frame_overlay_core.h"
#include "gdiplus_overlay_decoder.h"

class CPhotoFrameFilter : public CEffectFilterBase {
public:
    CPhotoFrameFilter(IUnknown* outer, HRESULT* hr);
    ~CPhotoFrameFilter() override;

    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;
    void ReleaseBuffers() override;

    // Own slots of IQelPhotoFrameParams.
    HRESULT GetFramePath(wchar_t* path);
    HRESULT SetFramePath(const wchar_t* path);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelPhotoFrameParams> {
    public:
        explicit Params(CPhotoFrameFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetFramePath(wchar_t* path) override { return m_filter->GetFramePath(path); }
        STDMETHODIMP SetFramePath(const wchar_t* path) override { return m_filter->SetFramePath(path); }

    private:
        CPhotoFrameFilter* m_filter;
    };

    CGdiplusOverlayDecoder m_decoder;
    FrameOverlayCore m_overlay{m_decoder};
    Params m_params{this};
};
