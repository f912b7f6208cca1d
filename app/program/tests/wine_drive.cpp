#include "wine_drive.h"

#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace programtest {
namespace {

// Wine's mount manager defines a drive from a Unix folder: the request, followed by the folder's
// Unix path. A type of DRIVE_NO_ROOT_DIR removes the letter again.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// The Unix path Wine gives a Windows path; empty outside Wine.
std::string UnixPathOf(const std::string& folder) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    std::wstring wide(folder.begin(), folder.end());
    char* unix = toUnix(wide.c_str());
    if (!unix)
        return {};
    std::string path = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

DWORD DefineDrive(char letter, UINT type, const std::string& unixPath) {
    std::vector<char> request(sizeof(UnixDriveRequest) + (unixPath.empty() ? 0 : unixPath.size() + 1));
    auto* head = reinterpret_cast<UnixDriveRequest*>(request.data());
    head->size = static_cast<ULONG>(request.size());
    head->type = type;
    head->letter = static_cast<WCHAR>(letter);
    if (!unixPath.empty()) {
        head->mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(request.data() + sizeof(UnixDriveRequest), unixPath.c_str(), unixPath.size() + 1);
    }
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    DWORD returned = 0;
    const BOOL done = ::DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                                        static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    const DWORD error = done ? ERROR_SUCCESS : ::GetLastError();
    ::CloseHandle(manager);
    return error;
}

} // namespace

ScopedWineDrive::ScopedWineDrive(UINT type, const std::string& folder) {
    const std::string unixPath = UnixPathOf(folder);
    if (unixPath.empty()) {
        failure_ = "no Unix path for " + folder + " (not running under Wine)";
        return;
    }
    // From the end of the alphabet down, clear of the prefix's own C: and Z:.
    for (char letter = 'Y'; letter >= 'D' && !letter_; --letter) {
        const char root[] = {letter, ':', '\\', 0};
        if (::GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            letter_ = letter;
    }
    if (!letter_) {
        failure_ = "no free drive letter";
        return;
    }
    const DWORD error = DefineDrive(letter_, type, unixPath);
    if (error != ERROR_SUCCESS) {
        failure_ = "the mount manager refused the drive: error " + std::to_string(error);
        return;
    }
    defined_ = true;
    const UINT seen = ::GetDriveTypeA(Root().c_str());
    if (seen != type)
        failure_ = Root() + " reads as drive type " + std::to_string(seen) + ", not " + std::to_string(type);
}

ScopedWineDrive::~ScopedWineDrive() {
    if (!defined_)
        return;
    const DWORD error = DefineDrive(letter_, DRIVE_NO_ROOT_DIR, {});
    if (error != ERROR_SUCCESS)
        std::fprintf(stderr, "ScopedWineDrive: %s stays defined in the prefix: error %lu\n", Root().c_str(),
                     error);
}

} // namespace programtest
