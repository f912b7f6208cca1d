#pragma once
// What the registration tests read back: keys and string values under HKEY_CLASSES_ROOT, and the
// system's regsvr32 run on a module.
#include <windows.h>

#include <string>

namespace qeltest {

bool ClassesRootKeyExists(const std::wstring& key);

// The string value `name` (null: the key's default value) of the key, or "<missing>".
std::wstring ClassesRootString(const std::wstring& key, const wchar_t* name);

// How long regsvr32 may run: a hang guard, far above the fraction of a second it takes.
constexpr DWORD kRegsvr32HangGuardMs = 60000;

// Runs "regsvr32.exe <arguments>" and gives its exit code, printing it and how long the run took. A
// program that cannot be started gives its error with the top bit set; one still running at the hang
// guard is ended (and waited for) and gives WAIT_TIMEOUT with the top bit set.
DWORD RunRegsvr32(const std::wstring& arguments);

} // namespace qeltest
