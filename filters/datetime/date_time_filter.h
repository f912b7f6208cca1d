#pragma once
// The date and time plug-in's filter: burns the current local date and time into every frame, in
// a chosen font and colour, at one of nine aligned places or at a start position. The setters
// change one settings record; each frame takes one copy of it.
#include "effect_filter_base.h"
#include "gdi_stamp_rasteriser.h"
#include "core/settings_snapshot.h"
#include "core/stamp_renderer.h"

class CDateTimeFilter : public CEffectFilterBase {
public:
    CDateTimeFilter(IUnknown* outer, HRESULT* hr);
    ~CDateTimeFilter() override;

    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;
    void ReleaseBuffers() override;

    // Own slots of IQelDateTimeParams.
    HRESULT GetColor(BYTE* red, BYTE* green, BYTE* blue);
    HRESULT SetColor(int red, int green, int blue);
    HRESULT GetFont(LOGFONTA* font);
    HRESULT SetFont(const LOGFONTA* font);
    HRESULT GetAlignment(int* alignment, int* padding);
    HRESULT SetAlignment(int alignment, int padding);
    HRESULT GetStartPosition(POINT* position);
    HRESULT SetStartPosition(const POINT* position);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    struct Settings {
        StampSettings stamp;
        LOGFONTA font;
    };

    class Params : public CQelParamsObject<IQelDateTimeParams> {
    public:
        explicit Params(CDateTimeFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetColor(BYTE* r, BYTE* g, BYTE* b) override { return m_filter->GetColor(r, g, b); }
        STDMETHODIMP SetColor(int r, int g, int b) override { return m_filter->SetColor(r, g, b); }
        STDMETHODIMP GetFont(LOGFONTA* font) override { return m_filter->GetFont(font); }
        STDMETHODIMP SetFont(const LOGFONTA* font) override { return m_filter->SetFont(font); }
        STDMETHODIMP GetAlignment(int* alignment, int* padding) override { return m_filter->GetAlignment(alignment, padding); }
        STDMETHODIMP SetAlignment(int alignment, int padding) override { return m_filter->SetAlignment(alignment, padding); }
        STDMETHODIMP GetStartPosition(POINT* position) override { return m_filter->GetStartPosition(position); }
        STDMETHODIMP SetStartPosition(const POINT* position) override { return m_filter->SetStartPosition(position); }

    private:
        CDateTimeFilter* m_filter;
    };

    static Settings DefaultSettings();

    SettingsSnapshot<Settings> m_settings{DefaultSettings()};
    // Streaming thread only (set while the filter is stopped).
    qel::imaging::PixelLayout m_format;
    CGdiStampRasteriser m_rasteriser;
    StampRenderer m_renderer;
    Params m_params{this};
};
