#pragma once
// Registers synthetic cameras: a COM class of this module per CLSID, listed by the system device
// enumerator in the video input device category under its friendly name (unless unlisted).
#include <windows.h>

HRESULT RegisterCamera(REFCLSID clsid, const wchar_t* friendlyName, DWORD variant);
HRESULT UnregisterCamera(REFCLSID clsid);
// Every test camera listed in the category (also ones a crashed test left behind), and the page class.
// An unlisted camera a crashed test left behind stays a COM class that nothing lists.
HRESULT UnregisterAllCameras();
// The variant registered for clsid; false when clsid is no test camera.
bool RegisteredVariant(REFCLSID clsid, DWORD* variant);
// The page class the variant with pages names; registered with such a camera, and left registered
// (other cameras may still name it) until every camera is unregistered.
HRESULT UnregisterCameraPage();
