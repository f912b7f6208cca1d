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

// Every later call on an instance of clsid, in any process, is appended to path as well (a line
// "#<instance> <call>"); an empty path stops that. The class must be registered: the path is kept with
// its registration and goes with it.
HRESULT SetLogFile(REFCLSID clsid, const wchar_t* path);
constexpr wchar_t kLogFileValue[] = L"QelStandinLogFile";

void SetMode(REFCLSID clsid, DWORD mode);
DWORD ModeOf(REFCLSID clsid);

} // namespace standin
