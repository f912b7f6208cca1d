#pragma once
// Enumerators handed out by IBaseFilter::EnumPins and IPin::EnumMediaTypes. Each keeps its filter
// (or pin) alive; the pin enumerator answers VFW_E_ENUM_OUT_OF_SYNC once the filter's pins changed.
#include "qeldshow/base_filter.h"

class CEnumPins : public CUnknown, public IEnumPins {
public:
    CEnumPins(CBaseFilter* filter, ULONG position, LONG version);
    ~CEnumPins() override;
    static HRESULT Create(CBaseFilter* filter, IEnumPins** enumerator);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** copy) override;

private:
    CBaseFilter* filter_;
    ULONG position_;
    LONG version_;
};
