#pragma once
// A COM object of the test server: an aggregatable value holder that persists its value.
#include "qeldshow/persist_stream.h"
#include "qeldshow/unknown.h"
#include "test_server_ids.h"

class CTestObject : public CUnknown, public CPersistStream, public IQelTestValue {
public:
    static CUnknown* CALLBACK Create(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP GetValue(int* value) override;
    STDMETHODIMP SetValue(int value) override;

private:
    CTestObject(IUnknown* outer, HRESULT* hr);

    HRESULT WriteToStream(IStream* stream) override;
    HRESULT ReadFromStream(IStream* stream) override;
    int SizeMax() override { return sizeof(int); }
    DWORD GetSoftwareVersion() override { return 2; }

    int value_ = 0;
};

// Constructed with a failure code, as an object whose resources could not be had.
class CFailingObject : public CUnknown {
public:
    static CUnknown* CALLBACK Create(IUnknown* outer, HRESULT* hr);

private:
    explicit CFailingObject(IUnknown* outer) : CUnknown("Failing object", outer) {}
};

CUnknown* CALLBACK CreateNoMemory(IUnknown* outer, HRESULT* hr);
