#pragma once
// Self-registration of in-process COM servers and of filters with the filter mapper.
#include <windows.h>

#include <string>

#include "qeldshow/setup_data.h"

// HKCR\CLSID\{clsid}: default value name, InprocServer32 = modulePath, ThreadingModel "Both".
HRESULT RegisterInprocServer(REFCLSID clsid, const wchar_t* name, const std::wstring& modulePath);
// Removes HKCR\CLSID\{clsid} with everything under it; S_OK when it was not registered.
HRESULT UnregisterInprocServer(REFCLSID clsid);

// Registers a filter's setup data with IFilterMapper2 under setup.category (or the ordinary
// DirectShow filters category). friendlyName overrides setup.strName; instance names the entry in the
// category (nullptr: the CLSID's string, so one entry per CLSID).
HRESULT RegisterFilterSetup(const AMOVIESETUP_FILTER& setup, const wchar_t* friendlyName = nullptr,
                            const wchar_t* instance = nullptr);
// Removes that entry; S_OK when it was not registered.
HRESULT UnregisterFilterSetup(REFCLSID clsid, const CLSID* category = nullptr, const wchar_t* instance = nullptr);

// The standard DllRegisterServer/DllUnregisterServer over the module's g_Templates: every template as
// an in-process server of this module, and every one with setup data with the filter mapper.
// Unregistering goes on past a failure and returns the first one.
HRESULT AMovieDllRegisterServer2(BOOL doRegister);

std::wstring GuidToString(REFGUID guid);

// A registry call's result as an HRESULT. A function, not the HRESULT_FROM_WIN32 macro, which
// evaluates its argument twice: given a call, it would make that call twice.
inline HRESULT RegistryResult(LONG error) { return HRESULT_FROM_WIN32(error); }
