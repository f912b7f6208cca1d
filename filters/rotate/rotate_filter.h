#pragma once
// The rotate plug-in's filter: turns each frame by 0, 90, 180 or 270 degrees, cutting the centred
// square or shrinking the picture into a band for the quarter turns. Parameterised through
// IQelRotateParams (it answers no IQelFilterParams).
#include "effect_filter_base.h"

#include <atomic>

class CRotateFilter : public CEffectFilterBase {
public:
    CRotateFilter(IUnknown* outer, HRESULT* hr);
    ~CRotateFilter() override;

    void SetDefaults() override;

    // Own slots of IQelRotateParams.
    HRESULT GetValue(int* value);
    HRESULT SetValue(int value);
    HRESULT GetValue2(int* value);
    HRESULT SetValue2(int value);
    HRESULT SetMethod(int method);
    HRESULT GetMethod(int* method);
    HRESULT SetBackColor(COLORREF color);
    HRESULT GetBackColor(COLORREF* color);
    HRESULT SetAngle(int degrees);
    HRESULT GetAngle(int* degrees);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    REFIID ParamsIid() const override { return IID_IQelRotateParams; }
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelRotateParams> {
    public:
        explicit Params(CRotateFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetValue(int* value) override { return m_filter->GetValue(value); }
        STDMETHODIMP SetValue(int value) override { return m_filter->SetValue(value); }
        STDMETHODIMP GetValue2(int* value) override { return m_filter->GetValue2(value); }
        STDMETHODIMP SetValue2(int value) override { return m_filter->SetValue2(value); }
        STDMETHODIMP SetMethod(int method) override { return m_filter->SetMethod(method); }
        STDMETHODIMP GetMethod(int* method) override { return m_filter->GetMethod(method); }
        STDMETHODIMP SetBackColor(COLORREF color) override { return m_filter->SetBackColor(color); }
        STDMETHODIMP GetBackColor(COLORREF* color) override { return m_filter->GetBackColor(color); }
        STDMETHODIMP SetAngle(int degrees) override { return m_filter->SetAngle(degrees); }
        STDMETHODIMP GetAngle(int* degrees) override { return m_filter->GetAngle(degrees); }

    private:
        CRotateFilter* m_filter;
    };

    int m_value = 0;
    int m_value2 = 0;
    // Read by the streaming thread without the lock; each is whole, but a frame may see a new
    // value of one with the old value of another.
    std::atomic<int> m_angle{0};
    std::atomic<int> m_method{0};
    std::atomic<COLORREF> m_backColor{0};
    Params m_params{this};
};
