#include "SystemChecks.h"

#include <cstring>

void GetOsClass(int* out) {
    if (!out)
        return;
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info; // 148 bytes
    if (!::GetVersionExA(&info)) {
        *out = 0;
        return;
    }
    int osClass = 4;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        osClass = info.dwMinorVersion < 90 ? 1 : 2;
    } else if (info.dwMajorVersion < 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion == 0 &&
                                           info.dwBuildNumber < 2196)) {
        osClass = 3;
    } else if (std::strcmp(info.szCSDVersion, "Service Pack 2") == 0) {
        osClass = 5;
    }
    *out = osClass;
}

namespace {

bool CanLoad(const char* library) {
    HMODULE module = ::LoadLibraryA(library);
    if (!module)
        return false;
    ::FreeLibrary(module);
    return true;
}

} // namespace

unsigned GetDirectXLevel() {
    const bool d3d8 = CanLoad("D3D8.DLL");
    if (CanLoad("D3D9.DLL"))
        return 0x900;
    return d3d8 ? 0x800 : 0;
}

BOOL IsDirectXLevelPresent(unsigned required) {
    if (required != 0x800 && required != 0x900)
        return FALSE;
    return GetDirectXLevel() >= required;
}

BOOL IsWmf9RuntimeInstalled() {
    // A "Software" path lies under the local machine root.
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                        "Software\\Microsoft\\Multimedia\\Components\\Informational\\playback_WMFSDK\\Files\\File1", 0,
                        KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    char version[260] = {};
    DWORD size = sizeof version - 1;
    DWORD type = 0;
    const LONG read = ::RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(version), &size);
    ::RegCloseKey(key);
    return read == ERROR_SUCCESS && version[0] == '9';
}
