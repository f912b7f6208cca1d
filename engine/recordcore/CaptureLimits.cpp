#include "CaptureLimits.h"

namespace qelrec {

bool IsFreeSpaceEnough(std::uint64_t freeBytes, std::uint64_t minimumBytes) {
    return freeBytes >= minimumBytes;
}

bool HasReachedFileSizeLimit(std::uint64_t fileBytes, std::uint64_t limitBytes) {
    return fileBytes >= limitBytes;
}

std::uint64_t MegabytesToBytes(std::uint32_t megabytes) {
    return static_cast<std::uint64_t>(megabytes) * 1048576ull;
}

std::wstring CaptureDirectoryOf(const std::wstring& path) {
    const std::wstring::size_type slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return std::wstring();
    return path.substr(0, slash + 1);
}

WmfVersion ChooseWmfVersion(std::uint32_t requested) {
    if (requested < 0x400 || requested > 0x900)
        return {WmfVersionChoice::kInvalid, 0};
    switch (requested) {
    case 0x400: return {WmfVersionChoice::kSet, 0x40000};
    case 0x700: return {WmfVersionChoice::kSet, 0x70000};   // the version it names, like the others
    case 0x800: return {WmfVersionChoice::kSet, 0x80000};
    case 0x900: return {WmfVersionChoice::kSet, 0x90000};
    default: return {WmfVersionChoice::kNone, 0};
    }
}

int SystemProfileIndexForQuality(int videoQuality) {
    switch (videoQuality) {
    case 1: return 0;
    case 2: return 1;
    default: return 2;
    }
}

int ClassifyOsVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    if (platformId != kPlatformWin32Nt)
        return minor < 90 ? 1 : 2;
    if (major >= 6)
        return 4;
    if (major == 5 && (minor >= 1 || build > 2195))
        return 4;
    return 3;
}

} // namespace qelrec
