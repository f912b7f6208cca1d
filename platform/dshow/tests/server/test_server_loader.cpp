#include "test_server_loader.h"

#include <gtest/gtest.h>

namespace {
typedef HRESULT(STDAPICALLTYPE* GetClassObjectFunc)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* NoArgumentFunc)();
} // namespace

TestServer::TestServer() : module_(LoadLibraryA(QEL_TEST_SERVER_FILE)) {
    EXPECT_NE(nullptr, module_) << "cannot load " << QEL_TEST_SERVER_FILE << ", error " << GetLastError();
}

TestServer::~TestServer() {
    if (module_)
        FreeLibrary(module_);
}

std::wstring TestServer::Path() const {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module_, path, MAX_PATH);
    return path;
}

void* TestServer::Entry(const char* name) const {
    // Through void*: the exports' real types are the ones the casts below name.
    void* entry = module_ ? reinterpret_cast<void*>(GetProcAddress(module_, name)) : nullptr;
    EXPECT_NE(nullptr, entry) << name << " is not exported";
    return entry;
}

HRESULT TestServer::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const {
    auto entry = reinterpret_cast<GetClassObjectFunc>(Entry("DllGetClassObject"));
    return entry ? entry(clsid, riid, ppv) : E_UNEXPECTED;
}

HRESULT TestServer::CanUnloadNow() const {
    auto entry = reinterpret_cast<NoArgumentFunc>(Entry("DllCanUnloadNow"));
    return entry ? entry() : E_UNEXPECTED;
}

HRESULT TestServer::Register() const {
    auto entry = reinterpret_cast<NoArgumentFunc>(Entry("DllRegisterServer"));
    return entry ? entry() : E_UNEXPECTED;
}

HRESULT TestServer::Unregister() const {
    auto entry = reinterpret_cast<NoArgumentFunc>(Entry("DllUnregisterServer"));
    return entry ? entry() : E_UNEXPECTED;
}

int TestServer::InitCalls(BOOL loading) const {
    auto entry = reinterpret_cast<QelTestInitCallsFunc>(Entry("QelTestInitCalls"));
    return entry ? entry(loading) : -1;
}

Microsoft::WRL::ComPtr<IClassFactory> TestServer::Factory(REFCLSID clsid) const {
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    EXPECT_EQ(S_OK, GetClassObject(clsid, IID_IClassFactory, &factory));
    return factory;
}
