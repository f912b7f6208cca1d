#include "OsDescription.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace qel {
namespace {

// The edition from the registry, for systems that only answer the basic version information.
std::string ProductTypeFromRegistry() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return "";
    char type[80] = "";
    DWORD size = sizeof type - 1;
    const LONG status = RegQueryValueExA(key, "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(type), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return "";
    type[size < sizeof type ? size : sizeof type - 1] = '\0';
    if (lstrcmpiA(type, "WINNT") == 0)
        return "Workstation ";
    if (lstrcmpiA(type, "SERVERNT") == 0)
        return "Server ";
    return "";
}

std::string NtEdition(const OSVERSIONINFOEXA& info, bool extended) {
    if (!extended)
        return ProductTypeFromRegistry();
    if (info.wProductType == VER_NT_WORKSTATION)
        return (info.wSuiteMask & VER_SUITE_PERSONAL) ? "Personal " : "Professional ";
    if (info.wProductType == VER_NT_SERVER) {
        if (info.wSuiteMask & VER_SUITE_DATACENTER)
            return "DataCenter Server ";
        if (info.wSuiteMask & VER_SUITE_ENTERPRISE)
            return "Advanced Server ";
        return "Server ";
    }
    return "";
}

} // namespace

bool DescribeOperatingSystem(char* out, std::size_t size) {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    bool extended = true;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        extended = false;
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return false;
    }
#pragma GCC diagnostic pop
    std::string text;
    // The service-pack text's second character tells the Windows 9x releases apart.
    const char release = info.szCSDVersion[0] ? info.szCSDVersion[1] : '\0';
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        text = "Microsoft Win32s ";
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 0) {
            text = "Microsoft Windows 95 ";
            if (release == 'C')
                text += "OSR2 ";
        } else if (info.dwMajorVersion == 4 && info.dwMinorVersion == 10) {
            text = "Microsoft Windows 98 ";
            if (release == 'A')
                text += "SE ";
        } else if (info.dwMajorVersion == 4 && info.dwMinorVersion == 90) {
            text = "Microsoft Windows Me ";
        }
        break;
    case VER_PLATFORM_WIN32_NT: {
        if (info.dwMajorVersion <= 4)
            text = "Microsoft Windows NT ";
        else if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0)
            text = "Microsoft Windows 2000 ";
        else if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1)
            text = "WinXP ";
        text += NtEdition(info, extended);
        char build[sizeof info.szCSDVersion + 64];
        if (info.dwMajorVersion > 4)
            std::snprintf(build, sizeof build, "%s (Build %d)\n", info.szCSDVersion,
                          static_cast<int>(info.dwBuildNumber & 0xFFFF));
        else
            std::snprintf(build, sizeof build, " version %d.%d %s (Build %d)\n", static_cast<int>(info.dwMajorVersion),
                          static_cast<int>(info.dwMinorVersion), info.szCSDVersion,
                          static_cast<int>(info.dwBuildNumber));
        text += build;
        break;
    }
    default:
        break;
    }
    if (text.size() >= size)
        return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

} // namespace qel
