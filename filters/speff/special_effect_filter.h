#pragma once
// The special-effect plug-in's filter: one of nine picture effects, or none, on every frame. The
// effect, its strength and the connected format live in an effect slot, which builds every change
// aside on the setter's thread and swaps it in between frames on the streaming thread.
#include "effect_filter_base.h"
#include "core/effect_slot.h"

class CSpecialEffectFilter : public CEffectFilterBase {
public:
    CSpecialEffectFilter(IUnknown* outer, HRESULT* hr);
    ~CSpecialEffectFilter() override;

    void SetDefaults() override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;

    // Own slots of IQelSpecialEffectParams.
    HRESULT GetStrength(int* strength);
    HRESULT SetStrength(int strength);
    HRESULT GetEffect(int* index);
    HRESULT SetEffect(int index);

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override;
    IUnknown* ParamsObject() override { return &m_params; }

private:
    class Params : public CQelParamsObject<IQelSpecialEffectParams> {
    public:
        explicit Params(CSpecialEffectFilter* filter) : CQelParamsObject(filter), m_filter(filter) {}
        STDMETHODIMP GetStrength(int* strength) override { return m_filter->GetStrength(strength); }
        STDMETHODIMP SetStrength(int strength) override { return m_filter->SetStrength(strength); }
        STDMETHODIMP GetEffect(int* index) override { return m_filter->GetEffect(index); }
        STDMETHODIMP SetEffect(int index) override { return m_filter->SetEffect(index); }

    private:
        CSpecialEffectFilter* m_filter;
    };

    CEffectSlot m_slot;
    Params m_params{this};
};
