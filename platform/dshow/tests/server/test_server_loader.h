#pragma once
// Loads the test COM server into the test process and reaches its entry points directly, the way
// COM does after it has found the module.
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <string>

#include "test_server_ids.h"

class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }
    std::wstring Path() const;

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    HRESULT Register() const;
    HRESULT Unregister() const;
    int InitCalls(BOOL loading) const;

    // A class factory of the module for clsid, or none (the test has then failed).
    Microsoft::WRL::ComPtr<IClassFactory> Factory(REFCLSID clsid) const;

private:
    void* Entry(const char* name) const;
    HMODULE module_;
};
