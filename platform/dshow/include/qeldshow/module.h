#pragma once
// The module (DLL or EXE) this code is linked into: our base layer is linked statically into
// every filter module, so resources, registration paths and lock counts are per module.
#include <windows.h>

#include <string>

HMODULE QelModuleHandle();

// Full path of the module, as registered under InprocServer32.
std::wstring QelModulePath();
