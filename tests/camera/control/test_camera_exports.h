#pragma once
// What the synthetic camera module (qel_test_camera.ax) exports beside its COM entry points, shared by
// the module and the helpers that drive it. The control functions act on the cameras of every process
// of the prefix: each camera CLSID has a named shared block that the module, loaded once per process by
// COM and by these helpers alike, keeps its switches in.
#include <windows.h>

namespace qelcam {

// Registration variants (flags).
enum CameraVariant : DWORD {
    kCaptureOnly = 0,           // one "Capture" pin: a preview needs a Smart Tee
    kWithPreviewPin = 0x1,      // "Capture" and a separate "Preview" pin
    kWithFlipStatus = 0x10,     // answers ICameraFlipStatus
    kWithButtonState = 0x20,    // answers ICameraButtonState
    kWithPropertyPages = 0x40,  // filter and capture pin offer the camera's page
    kFormatWithoutFrameTime = 0x80,  // the capture pin's current format names no frame time (0)
    // Made by its CLSID but listed in no device category: a stand-in for another kind of device (a
    // microphone listed as an audio input). Listed as a camera too, it would be the first camera a
    // program opens whenever its random CLSID sorts first.
    kUnlisted = 0x100,
    // The filter answers ISpecifyPropertyPages but cannot list its pages (GetPages: E_FAIL), as a
    // driver whose page server is broken.
    kWithFailingPages = 0x200,
};

constexpr const char kCameraModuleFile[] = "qel_test_camera.ax";
// Under HKCR\CLSID\{clsid} of every registered test camera.
constexpr const wchar_t kCameraVariantValue[] = L"QelTestCameraVariant";

// The camera DllRegisterServer registers, for a manual look with list_devices.
// {3F6C2A10-9B7E-4D55-A1C3-5E0B7D2F8A60}
static const CLSID CLSID_QelDefaultTestCamera = {0x3f6c2a10, 0x9b7e, 0x4d55, {0xa1, 0xc3, 0x5e, 0x0b, 0x7d, 0x2f, 0x8a, 0x60}};
constexpr const wchar_t kDefaultTestCameraName[] = L"Qel Test Camera";

// The page the kWithPropertyPages cameras offer, served by the same module.
// {3F6C2A10-9B7E-4D55-A1C3-5E0B7D2F8A61}
static const CLSID CLSID_QelTestCameraPage = {0x3f6c2a10, 0x9b7e, 0x4d55, {0xa1, 0xc3, 0x5e, 0x0b, 0x7d, 0x2f, 0x8a, 0x61}};
constexpr const wchar_t kTestCameraPageName[] = L"Qel Test Camera Page";

// Exports. A null clsid means every camera CLSID this process has seen; the result is S_FALSE when no
// live camera of any process was affected (the setting is still kept for cameras of that CLSID created
// later, in any process, while a process holds the setting's block). An event raised in another process
// is raised there before the call returns.
typedef HRESULT(WINAPI* RegisterCameraFunc)(const CLSID* clsid, const wchar_t* friendlyName, DWORD variant);
typedef HRESULT(WINAPI* UnregisterCameraFunc)(const CLSID* clsid);
typedef HRESULT(WINAPI* UnregisterAllCamerasFunc)();
// EC_DEVICE_LOST (param: 0 removed, 1 arrived again) or EC_ERRORABORT (param: the HRESULT).
typedef HRESULT(WINAPI* RaiseCameraEventFunc)(const CLSID* clsid, long eventCode, LONG_PTR param);
typedef HRESULT(WINAPI* SetCameraFlagFunc)(const CLSID* clsid, BOOL on);
typedef HRESULT(WINAPI* SetCameraButtonFunc)(const CLSID* clsid, ULONG state);
typedef LONG(WINAPI* CameraCountFunc)(const CLSID* clsid);
// Every frame shows the picture of frameNumber (0 to 0xFFFFFFFF) until the hold is released.
typedef HRESULT(WINAPI* HoldCameraFrameFunc)(const CLSID* clsid, LONGLONG frameNumber);
typedef HRESULT(WINAPI* ReleaseCameraHoldFunc)(const CLSID* clsid);

constexpr const char kRegisterCameraExport[] = "QelCameraRegister";
constexpr const char kUnregisterCameraExport[] = "QelCameraUnregister";
constexpr const char kUnregisterAllCamerasExport[] = "QelCameraUnregisterAll";
constexpr const char kRaiseCameraEventExport[] = "QelCameraRaiseEvent";
constexpr const char kSetDeliveringExport[] = "QelCameraSetDelivering";   // SetCameraFlagFunc
constexpr const char kSetMirroredExport[] = "QelCameraSetMirrored";       // SetCameraFlagFunc
constexpr const char kSetButtonExport[] = "QelCameraSetButtonState";      // SetCameraButtonFunc
constexpr const char kLiveCamerasExport[] = "QelCameraLiveInstances";     // CameraCountFunc
constexpr const char kHoldFrameExport[] = "QelCameraHoldFrame";           // HoldCameraFrameFunc
constexpr const char kReleaseHoldExport[] = "QelCameraReleaseHold";       // ReleaseCameraHoldFunc

}  // namespace qelcam
