#include "test_camera.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace qelcam {
namespace {

template <typename Function>
Function CameraExport(const char* name) {
    HMODULE module = CameraModule();
    // Through void*: the export's real type is Function.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

HRESULT MissingExport() { return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND); }

}  // namespace

HMODULE CameraModule() {
    // Kept loaded: COM finds the same module by its registered path, and the controls act on the
    // cameras inside it.
    static HMODULE module = LoadLibraryA(kCameraModuleFile);
    return module;
}

HRESULT RegisterTestCamera(const std::wstring& friendlyName, REFCLSID clsid, DWORD variant) {
    auto function = CameraExport<RegisterCameraFunc>(kRegisterCameraExport);
    return function ? function(&clsid, friendlyName.c_str(), variant) : MissingExport();
}

HRESULT UnregisterTestCamera(REFCLSID clsid) {
    auto function = CameraExport<UnregisterCameraFunc>(kUnregisterCameraExport);
    return function ? function(&clsid) : MissingExport();
}

HRESULT UnregisterAllTestCameras() {
    auto function = CameraExport<UnregisterAllCamerasFunc>(kUnregisterAllCamerasExport);
    return function ? function() : MissingExport();
}

namespace {

// The video input devices as the system device enumerator lists them (an empty category: not found).
HRESULT ListVideoInputDevices(ComPtr<IEnumMoniker>* monikers) {
    ComPtr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  &devices);
    if (FAILED(hr))
        return hr;
    hr = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers->ReleaseAndGetAddressOf(), 0);
    return hr == S_OK ? S_OK : FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

} // namespace

HRESULT FindVideoInputDevice(const std::wstring& friendlyName, IMoniker** moniker) {
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    ComPtr<IEnumMoniker> monikers;
    HRESULT hr = ListVideoInputDevices(&monikers);
    if (FAILED(hr))
        return hr;
    ComPtr<IMoniker> candidate;
    while (monikers->Next(1, &candidate, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(candidate->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag))) {
            VARIANT name;
            VariantInit(&name);
            const bool match = SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
                               friendlyName == name.bstrVal;
            VariantClear(&name);
            if (match) {
                *moniker = candidate.Detach();
                return S_OK;
            }
        }
        candidate.Reset();
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT BindVideoInputDevice(const std::wstring& friendlyName, IBaseFilter** filter) {
    if (!filter)
        return E_POINTER;
    *filter = nullptr;
    ComPtr<IMoniker> moniker;
    HRESULT hr = FindVideoInputDevice(friendlyName, &moniker);
    if (FAILED(hr))
        return hr;
    return moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

HRESULT BindFirstVideoInputDevice(IBaseFilter** filter) {
    if (!filter)
        return E_POINTER;
    *filter = nullptr;
    ComPtr<IEnumMoniker> monikers;
    HRESULT hr = ListVideoInputDevices(&monikers);
    if (FAILED(hr))
        return hr;
    ComPtr<IMoniker> first;
    hr = monikers->Next(1, &first, nullptr);
    if (hr != S_OK)
        return FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    return first->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

ScopedTestCamera::ScopedTestCamera(const std::wstring& friendlyName, DWORD variant) : name_(friendlyName) {
    result_ = CoCreateGuid(&clsid_);
    if (SUCCEEDED(result_))
        result_ = RegisterTestCamera(name_, clsid_, variant);
}

ScopedTestCamera::~ScopedTestCamera() {
    if (SUCCEEDED(result_))
        UnregisterTestCamera(clsid_);
}

HRESULT ScopedTestCamera::RaiseDeviceLost() const {
    auto function = CameraExport<RaiseCameraEventFunc>(kRaiseCameraEventExport);
    return function ? function(&clsid_, EC_DEVICE_LOST, 0) : MissingExport();
}

HRESULT ScopedTestCamera::RaiseErrorAbort(HRESULT error) const {
    auto function = CameraExport<RaiseCameraEventFunc>(kRaiseCameraEventExport);
    return function ? function(&clsid_, EC_ERRORABORT, error) : MissingExport();
}

HRESULT ScopedTestCamera::SetDelivering(bool on) const {
    auto function = CameraExport<SetCameraFlagFunc>(kSetDeliveringExport);
    return function ? function(&clsid_, on) : MissingExport();
}

HRESULT ScopedTestCamera::SetMirrored(bool on) const {
    auto function = CameraExport<SetCameraFlagFunc>(kSetMirroredExport);
    return function ? function(&clsid_, on) : MissingExport();
}

HRESULT ScopedTestCamera::SetButtonState(ULONG state) const {
    auto function = CameraExport<SetCameraButtonFunc>(kSetButtonExport);
    return function ? function(&clsid_, state) : MissingExport();
}

HRESULT ScopedTestCamera::HoldFrame(LONGLONG frameNumber) const {
    auto function = CameraExport<HoldCameraFrameFunc>(kHoldFrameExport);
    return function ? function(&clsid_, frameNumber) : MissingExport();
}

HRESULT ScopedTestCamera::ReleaseHold() const {
    auto function = CameraExport<ReleaseCameraHoldFunc>(kReleaseHoldExport);
    return function ? function(&clsid_) : MissingExport();
}

LONG ScopedTestCamera::LiveInstances() const {
    auto function = CameraExport<CameraCountFunc>(kLiveCamerasExport);
    return function ? function(&clsid_) : -1;
}

}  // namespace qelcam
