#pragma once
// A drive letter of the test's own in the Wine prefix: a free letter mapped to a folder of the test and
// given a drive type (CD-ROM, network, ...) through Wine's mount manager, which applies it at once and
// keeps it in the prefix (the dosdevices link and HKLM\Software\Wine\Drives) until the object removes
// both. Tests that define one hold the "qel_wine_drives" lock.
#include <windows.h>

#include <string>

namespace programtest {

class ScopedWineDrive {
public:
    // type: a GetDriveType value (DRIVE_CDROM, DRIVE_REMOTE, ...); folder: an existing Windows folder.
    ScopedWineDrive(UINT type, const std::string& folder);
    ~ScopedWineDrive();
    ScopedWineDrive(const ScopedWineDrive&) = delete;
    ScopedWineDrive& operator=(const ScopedWineDrive&) = delete;

    // Empty once the drive is defined and reads as the type asked for; else why not.
    const std::string& Failure() const { return failure_; }
    // "R:\", say.
    std::string Root() const { return std::string(1, letter_) + ":\\"; }

private:
    char letter_ = 0;
    bool defined_ = false;
    std::string failure_;
};

} // namespace programtest
