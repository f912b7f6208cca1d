#include "qeltest/registry_probe.h"

#include <cstdio>

namespace qeltest {

bool ClassesRootKeyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::wstring ClassesRootString(const std::wstring& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

DWORD RunRegsvr32(const std::wstring& arguments) {
    std::wstring command = L"regsvr32.exe " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError() | 0x80000000u;
    CloseHandle(process.hThread);
    const DWORD started = GetTickCount();
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, kRegsvr32HangGuardMs) != WAIT_OBJECT_0) {
        // Never leave it running: it would go on changing the registry under the tests that follow.
        std::printf("regsvr32 %ls: no end within the hang guard of %lu ms; ended\n", arguments.c_str(),
                    static_cast<unsigned long>(kRegsvr32HangGuardMs));
        TerminateProcess(process.hProcess, WAIT_TIMEOUT);
        WaitForSingleObject(process.hProcess, INFINITE);
        code = WAIT_TIMEOUT | 0x80000000u;
    } else if (!GetExitCodeProcess(process.hProcess, &code)) {
        code = GetLastError() | 0x80000000u;
    }
    std::printf("regsvr32 %ls: exit code %lu after %lu ms\n", arguments.c_str(), static_cast<unsigned long>(code),
                static_cast<unsigned long>(GetTickCount() - started));
    CloseHandle(process.hProcess);
    return code;
}

} // namespace qeltest
