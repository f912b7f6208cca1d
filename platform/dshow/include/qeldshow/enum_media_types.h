#pragma once
// IEnumMediaTypes over a pin's GetMediaType positions; every type handed out is the caller's to
// DeleteMediaType.
#include "qeldshow/base_pin.h"

class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes {
public:
    CEnumMediaTypes(CBasePin* pin, ULONG position);
    ~CEnumMediaTypes() override;
    static HRESULT Create(CBasePin* pin, IEnumMediaTypes** enumerator);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** copy) override;

private:
    CBasePin* pin_;
    ULONG position_;
};
