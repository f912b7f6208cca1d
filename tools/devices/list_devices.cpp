// Lists the video inputs, audio inputs and video compressors DirectShow offers on this machine:
// the smallest real job of the system until the program itself is built.
#include <windows.h>
#include <dshow.h>

#include <cstdio>

namespace {

int ListCategory(ICreateDevEnum* devices, REFCLSID category, const char* title) {
    std::printf("%s:\n", title);
    IEnumMoniker* monikers = nullptr;
    const HRESULT hr = devices->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK) {
        std::printf("  (none)\n");
        return FAILED(hr) ? 1 : 0;
    }
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        IPropertyBag* bag = nullptr;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT name;
            VariantInit(&name);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
                std::printf("  %ls\n", name.bstrVal);
            VariantClear(&name);
            bag->Release();
        }
        moniker->Release();
    }
    monikers->Release();
    return 0;
}

} // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "COM could not be initialised\n");
        return 1;
    }
    int rc = 1;
    ICreateDevEnum* devices = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                   reinterpret_cast<void**>(&devices)))) {
        rc = ListCategory(devices, CLSID_VideoInputDeviceCategory, "Video inputs");
        rc |= ListCategory(devices, CLSID_AudioInputDeviceCategory, "Audio inputs");
        rc |= ListCategory(devices, CLSID_VideoCompressorCategory, "Video compressors");
        devices->Release();
    } else {
        std::fprintf(stderr, "the System Device Enumerator could not be created\n");
    }
    CoUninitialize();
    return rc;
}
