#pragma once
// The stand-in's record of calls and of live instances, per class ID, shared by every instance of
// the process.
#include <windows.h>

#include <string>

namespace standin {

// A new instance of clsid: its number (from 1) within the class.
int AddInstance(REFCLSID clsid);
void RemoveInstance(REFCLSID clsid, int instance);
LONG LiveInstances(const CLSID* clsid);

void Log(REFCLSID clsid, int instance, const std::string& call);
std::string ReadLog(const CLSID* clsid);
void ClearLog();

void SetMode(REFCLSID clsid, DWORD mode);
DWORD ModeOf(REFCLSID clsid);

} // namespace standin
