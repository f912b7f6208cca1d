#include "CameraKsProperty.h"

#include <dshow.h>

#include "EngineCom.h"

#include <cstring>

EXTERN_C const GUID KSPROPSETID_QelCameraMirror = {0xA7974C56, 0xA77E, 0x4B90, {0x8C, 0xBF, 0x1C, 0x71, 0xEC, 0x30, 0x20, 0x00}};

namespace {

// The kernel-streaming object interface of a device filter: IUnknown, then KsGetObjectHandle.
const IID kIidKsObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};
struct IKsObjectHandle : public IUnknown {
    virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() = 0;
};

const ULONG kIoctlKsProperty = 0x2F0003;
const ULONG kKsPropertyTypeGet = 1;
const ULONG kRequestBytes = 56;

typedef HRESULT(WINAPI* KsSynchronousDeviceControlFunc)(HANDLE, ULONG, PVOID, ULONG, PVOID, ULONG, PULONG);

// Resolved at run time: not every system provides it (and some provide a stub that must not be
// reached). The module stays loaded for the process once found.
KsSynchronousDeviceControlFunc DeviceControl() {
    static const KsSynchronousDeviceControlFunc control = []() -> KsSynchronousDeviceControlFunc {
        HMODULE module = LoadLibraryA("ksproxy.ax");
        if (!module)
            return nullptr;
        return reinterpret_cast<KsSynchronousDeviceControlFunc>(
            reinterpret_cast<void*>(GetProcAddress(module, "KsSynchronousDeviceControl")));
    }();
    return control;
}

const char* const kKnownPrefixes[] = {"BisonCam,", "DREM Note"};
const int kPrefixChars = 9;

} // namespace

CCameraKsProperty::CCameraKsProperty()
    : m_pMoniker(nullptr), m_hDevice(nullptr), m_pDevice(nullptr), m_bComInitialized(FALSE) {}

CCameraKsProperty::~CCameraKsProperty() { Close(); }

BOOL CCameraKsProperty::IsKnownCameraPrefix(const WCHAR* friendlyName) {
    if (!friendlyName)
        return FALSE;
    char ansi[121] = {0};
    WideCharToMultiByte(CP_ACP, 0, friendlyName, -1, ansi, 120, nullptr, nullptr);
    ansi[kPrefixChars] = 0;
    for (const char* prefix : kKnownPrefixes)
        if (std::strcmp(ansi, prefix) == 0)
            return TRUE;
    return FALSE;
}

BOOL CCameraKsProperty::FindCamera() {
    qel::ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, &devices)))
        return FALSE;
    qel::ComPtr<IEnumMoniker> cameras;
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &cameras, 0) != S_OK || !cameras)
        return FALSE;
    cameras->Reset();
    qel::ComPtr<IMoniker> moniker;
    while (cameras->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        qel::ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag)))
            continue;
        VARIANT name;
        VariantInit(&name);
        const BOOL found = SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
                           IsKnownCameraPrefix(name.bstrVal);
        VariantClear(&name);
        if (found) {
            m_pMoniker = moniker.Detach();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCameraKsProperty::Open() {
    Close();
    const HRESULT init = CoInitialize(nullptr);
    m_bComInitialized = SUCCEEDED(init);
    if (!FindCamera())
        return FALSE;
    IBaseFilter* device = nullptr;
    if (FAILED(m_pMoniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&device))))
        return FALSE;
    m_pDevice = device;
    qel::ComPtr<IKsObjectHandle> ks;
    if (FAILED(device->QueryInterface(kIidKsObject, &ks)))
        return FALSE;
    m_hDevice = ks->KsGetObjectHandle();
    return m_hDevice != nullptr;
}

void CCameraKsProperty::FillRequest(ULONG propertyId, BYTE* block) {
    std::memset(block, 0, kRequestBytes);
    std::memcpy(block, &KSPROPSETID_QelCameraMirror, sizeof(GUID));
    std::memcpy(block + 16, &propertyId, sizeof propertyId);
    std::memcpy(block + 20, &kKsPropertyTypeGet, sizeof kKsPropertyTypeGet);
}

BOOL CCameraKsProperty::GetProperty(ULONG propertyId, BYTE* result) {
    if (!m_hDevice || !result)
        return FALSE;
    KsSynchronousDeviceControlFunc control = DeviceControl();
    if (!control)
        return FALSE;
    BYTE block[kRequestBytes];
    FillRequest(propertyId, block);
    ULONG returned = 0;
    if (FAILED(control(m_hDevice, kIoctlKsProperty, block, kRequestBytes, block, kRequestBytes, &returned)))
        return FALSE;
    std::memcpy(result, block + 24, kCameraPropertyValueBytes);
    return TRUE;
}

void CCameraKsProperty::Close() {
    m_hDevice = nullptr;   // owned by the device object
    SafeRelease(m_pDevice);
    SafeRelease(m_pMoniker);
    if (m_bComInitialized) {
        CoUninitialize();
        m_bComInitialized = FALSE;
    }
}
