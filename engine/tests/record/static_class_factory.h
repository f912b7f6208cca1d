#pragma once
// A class factory that lives as long as the test that registers it in its own process: it counts no
// references, and a test only writes CreateInstance.
#include <windows.h>
#include <unknwn.h>

class StaticClassFactory : public IClassFactory {
public:
    virtual ~StaticClassFactory() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};
