#pragma once
// The Windows Media runtime, loaded when first needed: it may be missing on a user's machine, and
// there is no import library for it here.
#include <windows.h>
#include <wmsdkidl.h>

// WMCreateProfileManager of the runtime; HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) or
// (ERROR_PROC_NOT_FOUND) when the runtime or the call is missing.
HRESULT WmCreateProfileManager(IWMProfileManager** manager);
