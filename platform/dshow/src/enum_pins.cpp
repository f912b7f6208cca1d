#include "qeldshow/enum_pins.h"

#include "qeldshow/base_pin.h"

#include <new>

CEnumPins::CEnumPins(CBaseFilter* filter, ULONG position, LONG version)
    : CUnknown("pin enumerator", nullptr), filter_(filter), position_(position), version_(version) {
    filter_->AddRef();
}

CEnumPins::~CEnumPins() { filter_->Release(); }

HRESULT CEnumPins::Create(CBaseFilter* filter, IEnumPins** enumerator) {
    if (!enumerator)
        return E_POINTER;
    auto* created = new (std::nothrow) CEnumPins(filter, 0, filter->GetPinVersion());
    if (!created) {
        *enumerator = nullptr;
        return E_OUTOFMEMORY;
    }
    return created->NonDelegatingQueryInterface(IID_IEnumPins, reinterpret_cast<void**>(enumerator));
}

STDMETHODIMP CEnumPins::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IEnumPins)
        return GetInterface(static_cast<IEnumPins*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched) {
    if (!pins)
        return E_POINTER;
    if (count > 1 && !fetched)
        return E_INVALIDARG;
    if (fetched)
        *fetched = 0;
    if (version_ != filter_->GetPinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG given = 0;
    const ULONG total = static_cast<ULONG>(filter_->GetPinCount());
    while (given < count && position_ < total) {
        CBasePin* pin = filter_->GetPin(static_cast<int>(position_++));
        if (!pin)
            continue;
        pins[given] = pin;
        pin->AddRef();
        ++given;
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG count) {
    if (version_ != filter_->GetPinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    const ULONG total = static_cast<ULONG>(filter_->GetPinCount());
    if (count > total - position_) {
        position_ = total;
        return S_FALSE;
    }
    position_ += count;
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset() {
    version_ = filter_->GetPinVersion();
    position_ = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** copy) {
    if (!copy)
        return E_POINTER;
    if (version_ != filter_->GetPinVersion()) {
        *copy = nullptr;
        return VFW_E_ENUM_OUT_OF_SYNC;
    }
    auto* created = new (std::nothrow) CEnumPins(filter_, position_, version_);
    if (!created) {
        *copy = nullptr;
        return E_OUTOFMEMORY;
    }
    return created->NonDelegatingQueryInterface(IID_IEnumPins, reinterpret_cast<void**>(copy));
}
