#include "test_object.h"

#include <new>

CTestObject::CTestObject(IUnknown* outer, HRESULT* hr) : CUnknown("Test object", outer), CPersistStream(outer, hr) {}

CUnknown* CALLBACK CTestObject::Create(IUnknown* outer, HRESULT* hr) {
    CUnknown* object = new (std::nothrow) CTestObject(outer, hr);
    if (!object)
        *hr = E_OUTOFMEMORY;
    return object;
}

HRESULT STDMETHODCALLTYPE CTestObject::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IQelTestValue)
        return GetInterface(static_cast<IQelTestValue*>(this), ppv);
    if (riid == IID_IPersistStream)
        return GetInterface(static_cast<IPersistStream*>(this), ppv);
    if (riid == IID_IPersist)
        return GetInterface(static_cast<IPersist*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CTestObject::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_QelTestObject;
    return S_OK;
}

STDMETHODIMP CTestObject::GetValue(int* value) {
    if (!value)
        return E_POINTER;
    *value = value_;
    return S_OK;
}

STDMETHODIMP CTestObject::SetValue(int value) {
    value_ = value;
    return SetDirty(TRUE);
}

HRESULT CTestObject::WriteToStream(IStream* stream) { return WriteToStreamExactly(stream, &value_, sizeof value_); }

HRESULT CTestObject::ReadFromStream(IStream* stream) {
    int value = 0;
    const HRESULT hr = ReadFromStreamExactly(stream, &value, sizeof value);
    if (SUCCEEDED(hr))
        value_ = value;
    return hr;
}

CUnknown* CALLBACK CFailingObject::Create(IUnknown* outer, HRESULT* hr) {
    CUnknown* object = new (std::nothrow) CFailingObject(outer);
    *hr = object ? E_ACCESSDENIED : E_OUTOFMEMORY;
    return object;
}

CUnknown* CALLBACK CreateNoMemory(IUnknown*, HRESULT*) { return nullptr; }
