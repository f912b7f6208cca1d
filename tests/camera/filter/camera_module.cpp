// The synthetic camera's COM server: any CLSID registered as a test camera is served here, with the
// variant its registration names.
#include <windows.h>
#include <dshow.h>

#include <functional>
#include <new>

#include "camera_directory.h"
#include "camera_filter.h"
#include "camera_page.h"
#include "camera_registration.h"
#include "control/test_camera_exports.h"
#include "qeldshow/class_factory.h"

namespace {

class CCameraFactory : public CClassFactory {
public:
    CCameraFactory(REFCLSID clsid, DWORD variant) : CClassFactory(nullptr), clsid_(clsid), variant_(variant) {}

protected:
    CUnknown* CreateObject(IUnknown* outer, HRESULT* hr) override {
        return CTestCamera::Create(outer, clsid_, variant_, hr);
    }

private:
    CLSID clsid_;
    DWORD variant_;
};

const CFactoryTemplate kPageTemplate = {qelcam::kTestCameraPageName, &qelcam::CLSID_QelTestCameraPage,
                                        &CCameraPage::Create, nullptr, nullptr};

// Applies a switch for clsid (every CLSID of the process when null): S_FALSE when no live camera of any
// process was affected.
HRESULT SetAndCount(const CLSID* clsid, const std::function<void(CameraControls&)>& apply) {
    LONG live = 0;
    camera_directory::ForEachControls(clsid, [&](CameraControls& controls) {
        apply(controls);
        live += controls.LiveInstances();
    });
    return live > 0 ? S_OK : S_FALSE;
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    if (clsid == qelcam::CLSID_QelTestCameraPage)
        return GetClassObjectFromTemplates(&kPageTemplate, 1, clsid, riid, ppv);
    DWORD variant = 0;
    if (!RegisteredVariant(clsid, &variant))
        return CLASS_E_CLASSNOTAVAILABLE;
    CCameraFactory* factory = new (std::nothrow) CCameraFactory(clsid, variant);
    if (!factory)
        return E_OUTOFMEMORY;
    factory->NonDelegatingAddRef();
    const HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
    factory->NonDelegatingRelease();
    return hr;
}

STDAPI DllCanUnloadNow() { return ModuleCanUnloadNow(); }

STDAPI DllRegisterServer() {
    return RegisterCamera(qelcam::CLSID_QelDefaultTestCamera, qelcam::kDefaultTestCameraName,
                          qelcam::kWithPreviewPin);
}

STDAPI DllUnregisterServer() {
    const HRESULT camera = UnregisterCamera(qelcam::CLSID_QelDefaultTestCamera);
    const HRESULT page = UnregisterCameraPage();
    return FAILED(camera) ? camera : page;
}

extern "C" {

HRESULT WINAPI QelCameraRegister(const CLSID* clsid, const wchar_t* friendlyName, DWORD variant) {
    return clsid ? RegisterCamera(*clsid, friendlyName, variant) : E_POINTER;
}

HRESULT WINAPI QelCameraUnregister(const CLSID* clsid) { return clsid ? UnregisterCamera(*clsid) : E_POINTER; }

HRESULT WINAPI QelCameraUnregisterAll() { return UnregisterAllCameras(); }

HRESULT WINAPI QelCameraRaiseEvent(const CLSID* clsid, long eventCode, LONG_PTR param) {
    if (eventCode != EC_DEVICE_LOST && eventCode != EC_ERRORABORT)
        return E_INVALIDARG;
    int affected = 0;
    HRESULT first = camera_directory::RaiseOnCameras(clsid, eventCode, param, &affected);
    camera_directory::ForEachControls(clsid, [&](CameraControls& controls) {
        int processes = 0;
        const HRESULT hr = controls.PublishEvent(eventCode, param, &processes);
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
        affected += processes;
    });
    if (FAILED(first))
        return first;
    return affected > 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI QelCameraSetDelivering(const CLSID* clsid, BOOL on) {
    return SetAndCount(clsid, [&](CameraControls& controls) { controls.SetDelivering(on != FALSE); });
}

HRESULT WINAPI QelCameraSetMirrored(const CLSID* clsid, BOOL on) {
    return SetAndCount(clsid, [&](CameraControls& controls) { controls.SetMirrored(on != FALSE); });
}

HRESULT WINAPI QelCameraSetButtonState(const CLSID* clsid, ULONG state) {
    return SetAndCount(clsid, [&](CameraControls& controls) { controls.SetButtonState(state); });
}

HRESULT WINAPI QelCameraHoldFrame(const CLSID* clsid, LONGLONG frameNumber) {
    // The picture carries 32 bits of the number.
    if (frameNumber < 0 || frameNumber > 0xFFFFFFFFLL)
        return E_INVALIDARG;
    return SetAndCount(clsid, [&](CameraControls& controls) { controls.HoldFrame(frameNumber); });
}

HRESULT WINAPI QelCameraReleaseHold(const CLSID* clsid) {
    return SetAndCount(clsid, [](CameraControls& controls) { controls.ReleaseHold(); });
}

LONG WINAPI QelCameraLiveInstances(const CLSID* clsid) {
    LONG count = 0;
    camera_directory::ForEachControls(clsid, [&](CameraControls& controls) { count += controls.LiveInstances(); });
    return count;
}

}  // extern "C"
