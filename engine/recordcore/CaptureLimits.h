#pragma once
// The decisions behind a recording's limits and its Windows Media settings, kept apart from the calls
// that gather their inputs so that every boundary can be tested on its own.
#include <cstdint>
#include <string>

namespace qelrec {

// A capture file at or above this size ends the capture: the container's 32-bit offsets run out.
constexpr std::uint64_t kCaptureFileSizeLimit = 0x80000000ull;

// Free space is enough when it is at least the minimum (equal passes).
bool IsFreeSpaceEnough(std::uint64_t freeBytes, std::uint64_t minimumBytes);
// The capture file has reached the size that ends a capture.
bool HasReachedFileSizeLimit(std::uint64_t fileBytes, std::uint64_t limitBytes = kCaptureFileSizeLimit);
// Megabytes as bytes, in 64 bits.
std::uint64_t MegabytesToBytes(std::uint32_t megabytes);

// Arms a free-space watch, as the recording and the render both do. Refused (false, nothing changes)
// while `busy` or without a polling interval. Otherwise the minimum and the interval are kept when
// `hasFreeSpace(minimum in bytes)` finds that much free now, and both cleared (false) when not.
template <class HasFreeSpace>
bool ArmFreeSpaceWatch(bool busy, std::uint32_t megabytes, std::uint32_t intervalMs, HasFreeSpace hasFreeSpace,
                       std::uint64_t& minimumBytes, std::uint32_t& pollingMs) {
    if (busy || intervalMs == 0)
        return false;
    const std::uint64_t bytes = MegabytesToBytes(megabytes);
    const bool enough = hasFreeSpace(bytes);
    minimumBytes = enough ? bytes : 0;
    pollingMs = enough ? intervalMs : 0;
    return enough;
}

// The directory whose free space a capture file uses: the path cut after its last backslash (the
// backslash stays). A bare file name measures the current directory: an empty result.
std::wstring CaptureDirectoryOf(const std::wstring& path);

// Windows Media system-profile version for a requested version times 0x100.
enum class WmfVersionChoice {
    kInvalid,   // outside 0x400..0x900
    kNone,      // inside, but no version of that number: nothing is set
    kSet,       // set `version`
};
struct WmfVersion {
    WmfVersionChoice choice;
    std::uint32_t version;   // WMT_VER_* value when choice is kSet
};
WmfVersion ChooseWmfVersion(std::uint32_t requested);

// Which of the three system profiles a video quality selects: 0, 1 or 2.
int SystemProfileIndexForQuality(int videoQuality);

// The running Windows as the engine classifies it: 1 and 2 the older consumer line (minor below 90,
// and 90 or above), 3 NT before XP, 4 XP and later.
constexpr std::uint32_t kPlatformWin32Nt = 2;
int ClassifyOsVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build);

} // namespace qelrec
