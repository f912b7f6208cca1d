#include "qeldshow/enum_media_types.h"

#include <new>

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, ULONG position)
    : CUnknown("media type enumerator", nullptr), pin_(pin), position_(position) {
    pin_->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { pin_->Release(); }

HRESULT CEnumMediaTypes::Create(CBasePin* pin, IEnumMediaTypes** enumerator) {
    if (!enumerator)
        return E_POINTER;
    auto* created = new (std::nothrow) CEnumMediaTypes(pin, 0);
    if (!created) {
        *enumerator = nullptr;
        return E_OUTOFMEMORY;
    }
    return created->NonDelegatingQueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(enumerator));
}

STDMETHODIMP CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
    if (!types)
        return E_POINTER;
    if (count > 1 && !fetched)
        return E_INVALIDARG;
    if (fetched)
        *fetched = 0;
    ULONG given = 0;
    while (given < count) {
        CMediaType type;
        if (pin_->GetMediaType(static_cast<int>(position_), &type) != S_OK)
            break;
        AM_MEDIA_TYPE* copy = CreateMediaType(&type);
        if (!copy) {
            for (ULONG i = 0; i < given; ++i) {
                DeleteMediaType(types[i]);
                types[i] = nullptr;
            }
            return E_OUTOFMEMORY;
        }
        types[given++] = copy;
        ++position_;
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG count) {
    while (count > 0) {
        CMediaType type;
        if (pin_->GetMediaType(static_cast<int>(position_), &type) != S_OK)
            return S_FALSE;
        ++position_;
        --count;
    }
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset() {
    position_ = 0;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** copy) {
    if (!copy)
        return E_POINTER;
    auto* created = new (std::nothrow) CEnumMediaTypes(pin_, position_);
    if (!created) {
        *copy = nullptr;
        return E_OUTOFMEMORY;
    }
    return created->NonDelegatingQueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(copy));
}
