// The stand-in's COM server: it makes an instance for whatever class ID it is asked for, so it can
// be registered in place of any plug-in, and the exports the tests drive it with.
#include "standin_exports.h"
#include "standin_filter.h"
#include "standin_log.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/module.h"
#include "qeldshow/server_registration.h"

#include <cstring>
#include <new>

// The base layer's registration code names a template list; this module has no fixed classes.
CFactoryTemplate g_Templates[1] = {{L"", nullptr, nullptr, nullptr, nullptr}};
int g_cTemplates = 0;

namespace {

class StandinFactory : public CClassFactory {
public:
    explicit StandinFactory(REFCLSID clsid) : CClassFactory(nullptr), clsid_(clsid) {}

protected:
    CUnknown* CreateObject(IUnknown* outer, HRESULT* hr) override {
        auto* filter = new (std::nothrow) CStandinFilter(outer, clsid_, hr);
        if (!filter)
            *hr = E_OUTOFMEMORY;
        return filter;
    }

private:
    CLSID clsid_;
};

std::wstring RegisteredServer(REFCLSID clsid) {
    const std::wstring key = L"CLSID\\" + GuidToString(clsid) + L"\\InprocServer32";
    wchar_t path[MAX_PATH * 2] = {0};
    LONG size = sizeof path;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), path, &size) != ERROR_SUCCESS)
        return std::wstring();
    return path;
}

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return HandOutFactory(new (std::nothrow) StandinFactory(clsid), riid, ppv);
}

STDAPI DllCanUnloadNow() { return ModuleCanUnloadNow(); }

extern "C" {

__declspec(dllexport) HRESULT WINAPI QelStandinRegister(const CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    return RegisterInprocServer(*clsid, L"Qel stand-in plug-in", QelModulePath());
}

__declspec(dllexport) HRESULT WINAPI QelStandinUnregister(const CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    const std::wstring server = RegisteredServer(*clsid);
    if (server.empty())
        return S_OK;
    if (lstrcmpiW(server.c_str(), QelModulePath().c_str()) != 0)
        return S_FALSE;   // another module's registration: not ours to remove
    return UnregisterInprocServer(*clsid);
}

__declspec(dllexport) HRESULT WINAPI QelStandinSetMode(const CLSID* clsid, DWORD mode) {
    if (!clsid)
        return E_POINTER;
    standin::SetMode(*clsid, mode);
    return S_OK;
}

__declspec(dllexport) int WINAPI QelStandinReadLog(const CLSID* clsid, char* buffer, int size) {
    const std::string text = standin::ReadLog(clsid);
    const int needed = static_cast<int>(text.size()) + 1;
    if (buffer && size > 0) {
        const int copied = needed <= size ? needed - 1 : size - 1;
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = 0;
    }
    return needed;
}

__declspec(dllexport) HRESULT WINAPI QelStandinSetLogFile(const CLSID* clsid, const wchar_t* path) {
    if (!clsid)
        return E_POINTER;
    return standin::SetLogFile(*clsid, path);
}

__declspec(dllexport) void WINAPI QelStandinClearLog() { standin::ClearLog(); }

__declspec(dllexport) LONG WINAPI QelStandinLiveInstances(const CLSID* clsid) { return standin::LiveInstances(clsid); }

} // extern "C"
