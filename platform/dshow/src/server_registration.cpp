#include "qeldshow/server_registration.h"

#include <dshow.h>

#include <vector>

namespace {

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

std::wstring ClsidKey(REFCLSID clsid) { return L"CLSID\\" + GuidToString(clsid); }

HRESULT SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegistryResult(
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes));
}

class RegKey {
public:
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    HRESULT Create(HKEY parent, const std::wstring& path) {
        return RegistryResult(RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                  KEY_WRITE, nullptr, &key_, nullptr));
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// COM for the length of a registration call: regsvr32 and installers may call us without it.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    // A thread already in another apartment still has COM.
    HRESULT Result() const { return hr_ == RPC_E_CHANGED_MODE ? S_OK : hr_; }

private:
    HRESULT hr_;
};

HRESULT CreateMapper(IFilterMapper2** mapper) {
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                            reinterpret_cast<void**>(mapper));
}

} // namespace

std::wstring GuidToString(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

HRESULT RegisterInprocServer(REFCLSID clsid, const wchar_t* name, const std::wstring& modulePath) {
    if (!name || modulePath.empty())
        return E_INVALIDARG;
    RegKey classKey;
    HRESULT hr = classKey.Create(HKEY_CLASSES_ROOT, ClsidKey(clsid));
    if (FAILED(hr))
        return hr;
    hr = SetStringValue(classKey.get(), nullptr, name);
    if (FAILED(hr))
        return hr;
    RegKey serverKey;
    hr = serverKey.Create(classKey.get(), L"InprocServer32");
    if (FAILED(hr))
        return hr;
    hr = SetStringValue(serverKey.get(), nullptr, modulePath);
    if (FAILED(hr))
        return hr;
    return SetStringValue(serverKey.get(), L"ThreadingModel", L"Both");
}

HRESULT UnregisterInprocServer(REFCLSID clsid) {
    const HRESULT hr = RegistryResult(RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey(clsid).c_str()));
    return hr == kNotFound ? S_OK : hr;
}

HRESULT RegisterFilterSetup(const AMOVIESETUP_FILTER& setup, const wchar_t* friendlyName, const wchar_t* instance) {
    if (!setup.clsID || (!friendlyName && !setup.strName) || (setup.nPins && !setup.lpPin))
        return E_INVALIDARG;

    // The mapper's own structures: same content, its pin names are not const.
    std::vector<std::vector<REGPINTYPES>> types(setup.nPins);
    std::vector<REGFILTERPINS> pins(setup.nPins);
    for (UINT i = 0; i < setup.nPins; ++i) {
        const AMOVIESETUP_PIN& pin = setup.lpPin[i];
        if (pin.nMediaTypes && !pin.lpMediaType)
            return E_INVALIDARG;
        for (UINT t = 0; t < pin.nMediaTypes; ++t)
            types[i].push_back({pin.lpMediaType[t].clsMajorType, pin.lpMediaType[t].clsMinorType});
        pins[i] = {const_cast<LPWSTR>(pin.strName), pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                   pin.clsConnectsToFilter, pin.strConnectsToPin, pin.nMediaTypes,
                   types[i].empty() ? nullptr : types[i].data()};
    }
    REGFILTER2 filter = {};
    filter.dwVersion = 1;
    filter.dwMerit = setup.dwMerit;
    filter.cPins = setup.nPins;
    filter.rgPins = pins.empty() ? nullptr : pins.data();

    ComScope com;
    HRESULT hr = com.Result();
    if (FAILED(hr))
        return hr;
    IFilterMapper2* mapper = nullptr;
    hr = CreateMapper(&mapper);
    if (FAILED(hr))
        return hr;
    const CLSID* category = setup.category ? setup.category : &CLSID_LegacyAmFilterCategory;
    hr = mapper->RegisterFilter(*setup.clsID, friendlyName ? friendlyName : setup.strName, nullptr, category,
                                instance, &filter);
    mapper->Release();
    return hr;
}

HRESULT UnregisterFilterSetup(REFCLSID clsid, const CLSID* category, const wchar_t* instance) {
    ComScope com;
    HRESULT hr = com.Result();
    if (FAILED(hr))
        return hr;
    IFilterMapper2* mapper = nullptr;
    hr = CreateMapper(&mapper);
    if (FAILED(hr))
        return hr;
    hr = mapper->UnregisterFilter(category ? category : &CLSID_LegacyAmFilterCategory, instance, clsid);
    mapper->Release();
    return hr == kNotFound ? S_OK : hr;
}
