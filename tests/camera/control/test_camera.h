#pragma once
// Synthetic cameras for tests: register one (or several) under a friendly name of the test's choice,
// find it through the system device enumerator as the engine does, and drive it: stop its frames,
// raise EC_DEVICE_LOST or EC_ERRORABORT, set what its driver interfaces report.
//
// Registration is machine-wide (the Wine prefix's registry). A test that counts every video input
// device should first call UnregisterAllTestCameras() and run under the CTest resource lock
// "qel_video_devices" (PROPERTIES RESOURCE_LOCK qel_video_devices), as every camera test does.
#include <windows.h>
#include <dshow.h>

#include <string>

#include "test_camera_exports.h"

namespace qelcam {

// The camera module, loaded once for the process (the same module COM uses for the cameras).
HMODULE CameraModule();

HRESULT RegisterTestCamera(const std::wstring& friendlyName, REFCLSID clsid, DWORD variant = kWithPreviewPin);
HRESULT UnregisterTestCamera(REFCLSID clsid);
// Every test camera registered in the prefix, including leftovers of an earlier crashed run.
HRESULT UnregisterAllTestCameras();

// The device moniker listed under friendlyName in the video input device category.
HRESULT FindVideoInputDevice(const std::wstring& friendlyName, IMoniker** moniker);
// That device bound to its filter, as the engine opens a camera.
HRESULT BindVideoInputDevice(const std::wstring& friendlyName, IBaseFilter** filter);
// The first device listed, as a program without a saved camera choice opens one.
HRESULT BindFirstVideoInputDevice(IBaseFilter** filter);

// One registered camera for the life of the object, under a fresh CLSID.
class ScopedTestCamera {
public:
    explicit ScopedTestCamera(const std::wstring& friendlyName, DWORD variant = kWithPreviewPin);
    ~ScopedTestCamera();
    ScopedTestCamera(const ScopedTestCamera&) = delete;
    ScopedTestCamera& operator=(const ScopedTestCamera&) = delete;

    // The registration's result; the camera exists only when this succeeded.
    HRESULT Result() const { return result_; }
    const CLSID& Clsid() const { return clsid_; }
    const std::wstring& Name() const { return name_; }

    HRESULT Bind(IBaseFilter** filter) const { return BindVideoInputDevice(name_, filter); }

    // On every live instance of this camera in every process of the prefix (S_FALSE when there is
    // none); raised in the other processes before they return.
    HRESULT RaiseDeviceLost() const;
    HRESULT RaiseErrorAbort(HRESULT error = E_FAIL) const;
    // Also for instances made later.
    HRESULT SetDelivering(bool on) const;
    HRESULT SetMirrored(bool on) const;
    HRESULT SetButtonState(ULONG state) const;
    // While held, every frame shows the picture of frameNumber (0 to 0xFFFFFFFF, so the number decodes
    // from it); frames keep coming at the normal rate with normal times.
    HRESULT HoldFrame(LONGLONG frameNumber) const;
    HRESULT ReleaseHold() const;
    // In every process of the prefix.
    LONG LiveInstances() const;

private:
    std::wstring name_;
    CLSID clsid_ = CLSID_NULL;
    HRESULT result_ = E_FAIL;
};

}  // namespace qelcam
