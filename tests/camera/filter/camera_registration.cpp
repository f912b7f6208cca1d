#include "camera_registration.h"

#include <dshow.h>

#include <string>
#include <vector>

#include "control/test_camera_exports.h"
#include "qeldshow/module.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_MEDIATYPE kRgb24 = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};
const AMOVIESETUP_PIN kPins[] = {
    {L"Capture", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kRgb24},
    {L"Preview", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kRgb24},
};

std::wstring ClassKey(REFCLSID clsid) { return L"CLSID\\" + GuidToString(clsid); }

}  // namespace

bool RegisteredVariant(REFCLSID clsid, DWORD* variant) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str(), qelcam::kCameraVariantValue, RRF_RT_REG_DWORD,
                     nullptr, &value, &bytes) != ERROR_SUCCESS)
        return false;
    *variant = value;
    return true;
}

HRESULT RegisterCamera(REFCLSID clsid, const wchar_t* friendlyName, DWORD variant) {
    if (!friendlyName || !*friendlyName || clsid == CLSID_NULL)
        return E_INVALIDARG;
    HRESULT hr = RegisterInprocServer(clsid, friendlyName, QelModulePath());
    if (SUCCEEDED(hr)) {
        HKEY key = nullptr;
        hr = RegistryResult(RegOpenKeyExW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str(), 0, KEY_SET_VALUE, &key));
        if (SUCCEEDED(hr)) {
            hr = RegistryResult(RegSetValueExW(key, qelcam::kCameraVariantValue, 0, REG_DWORD,
                                                   reinterpret_cast<const BYTE*>(&variant), sizeof variant));
            RegCloseKey(key);
        }
    }
    if (SUCCEEDED(hr) && (variant & qelcam::kWithPropertyPages))
        hr = RegisterInprocServer(qelcam::CLSID_QelTestCameraPage, qelcam::kTestCameraPageName, QelModulePath());
    if (SUCCEEDED(hr) && !(variant & qelcam::kUnlisted)) {
        const AMOVIESETUP_FILTER setup = {&clsid, friendlyName, MERIT_DO_NOT_USE,
                                          (variant & qelcam::kWithPreviewPin) ? 2u : 1u, kPins,
                                          &CLSID_VideoInputDeviceCategory};
        hr = RegisterFilterSetup(setup, friendlyName);
    }
    if (FAILED(hr))
        UnregisterCamera(clsid);  // the registration's own failure is the one to report
    return hr;
}

HRESULT UnregisterCamera(REFCLSID clsid) {
    // Also for an unlisted camera: a listing that is not there is no failure.
    const HRESULT listed = UnregisterFilterSetup(clsid, &CLSID_VideoInputDeviceCategory);
    const HRESULT server = UnregisterInprocServer(clsid);
    return FAILED(listed) ? listed : server;
}

HRESULT UnregisterAllCameras() {
    // The category's entries are keys named by instance under the category's CLSID.
    const std::wstring instances = ClassKey(CLSID_VideoInputDeviceCategory) + L"\\Instance";
    HKEY key = nullptr;
    LONG error = RegOpenKeyExW(HKEY_CLASSES_ROOT, instances.c_str(), 0, KEY_READ, &key);
    if (error == ERROR_FILE_NOT_FOUND)
        return UnregisterCameraPage();
    if (error != ERROR_SUCCESS)
        return RegistryResult(error);
    std::vector<CLSID> cameras;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        error = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS)
            break;
        wchar_t clsidText[64] = {};
        DWORD bytes = sizeof clsidText;
        CLSID clsid = CLSID_NULL;
        DWORD variant = 0;
        if (RegGetValueW(key, name, L"CLSID", RRF_RT_REG_SZ, nullptr, clsidText, &bytes) == ERROR_SUCCESS &&
            SUCCEEDED(CLSIDFromString(clsidText, &clsid)) && RegisteredVariant(clsid, &variant))
            cameras.push_back(clsid);
    }
    RegCloseKey(key);
    if (error != ERROR_NO_MORE_ITEMS)
        return RegistryResult(error);
    HRESULT first = UnregisterCameraPage();
    for (const CLSID& clsid : cameras) {
        const HRESULT hr = UnregisterCamera(clsid);
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    }
    return first;
}

HRESULT UnregisterCameraPage() { return UnregisterInprocServer(qelcam::CLSID_QelTestCameraPage); }
