#pragma once
// Reads one kernel-streaming property of a notebook camera whose driver reports through it whether
// the picture comes mirrored. One object serves one read: Open, GetProperty, Close.
#include <windows.h>
#include <objidl.h>

#include "VostrelApi.h"

// The property set {A7974C56-A77E-4B90-8CBF-1C71EC302000} and the mirror-state id in it.
EXTERN_C VOSTREL_API const GUID KSPROPSETID_QelCameraMirror;
constexpr ULONG kCameraMirrorPropertyId = 8;
constexpr ULONG kCameraPropertyValueBytes = 32;

class VOSTREL_API CCameraKsProperty {
public:
    CCameraKsProperty();
    virtual ~CCameraKsProperty();
    CCameraKsProperty(const CCameraKsProperty&) = delete;
    CCameraKsProperty& operator=(const CCameraKsProperty&) = delete;

    // Initialises COM on the calling thread, finds the first listed camera whose name starts as one
    // of the known kernel-streaming cameras, and takes its device handle. TRUE when there is one.
    BOOL Open();
    // Sends the property request; on success copies the 32 value bytes into result.
    BOOL GetProperty(ULONG propertyId, BYTE* result);
    // Releases what Open bound and uninitialises COM again. Safe to call more than once.
    void Close();

    // The request block as sent (56 bytes): property set, id, KSPROPERTY_TYPE_GET, zero value.
    static void FillRequest(ULONG propertyId, BYTE* block);
    // Whether a friendly name, cut after its first nine characters, names a known camera (exactly).
    static BOOL IsKnownCameraPrefix(const WCHAR* friendlyName);

protected:
    BOOL FindCamera();

    IMoniker* m_pMoniker;
    HANDLE m_hDevice;
    IUnknown* m_pDevice;   // the bound device object that owns the handle
    BOOL m_bComInitialized;
};
