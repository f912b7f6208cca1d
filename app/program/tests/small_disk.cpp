#include "small_disk.h"

#include <windows.h>

#include <cstdio>

#include "unix_command.h"

namespace programtest {

ScopedSmallDisk::ScopedSmallDisk(int megabytes) {
    mountPoint_ = UnixTempName("qel_small_disk");
    const char* folder = mountPoint_.c_str();
    char script[256];
    std::snprintf(script, sizeof script,
                  "mkdir -p %s && mount -t tmpfs -o size=%dm qel_small_disk %s 2>/dev/null", folder,
                  megabytes, folder);
    int status = 0;
    if (!RunUnixShell(script, &status, &failure_))
        return;
    if (status != 0) {
        failure_ = "a memory file system cannot be mounted here (mount needs root): status " +
                   std::to_string(status);
        std::string ignored;
        RunUnixShell(std::string("rmdir ") + folder, &status, &ignored);
        return;
    }
    mounted_ = true;
    drive_ = std::make_unique<ScopedWineDrive>(DRIVE_FIXED, WindowsPathOfUnix(mountPoint_));
    failure_ = drive_->Failure();
}

std::string ScopedSmallDisk::SetReadOnly(bool readOnly) {
    if (!mounted_)
        return "the small disk is not mounted";
    int status = 0;
    std::string why;
    const std::string script =
        std::string("mount -o remount,") + (readOnly ? "ro " : "rw ") + mountPoint_ + " 2>&1";
    if (!RunUnixShell(script, &status, &why))
        return why;
    if (status != 0)
        return "remount " + std::string(readOnly ? "ro" : "rw") + " failed: status " + std::to_string(status);
    return std::string();
}

ScopedSmallDisk::~ScopedSmallDisk() {
    if (mounted_)
        SetReadOnly(false); // a read-only file system still unmounts; this leaves it as it came
    drive_.reset(); // the letter goes before the file system under it
    if (!mounted_)
        return;
    int status = 0;
    std::string why;
    if (!RunUnixShell("umount " + mountPoint_ + " && rmdir " + mountPoint_, &status, &why) || status != 0)
        std::printf("the small disk at %s stays mounted: %s (status %d)\n", mountPoint_.c_str(), why.c_str(),
                    status);
}

} // namespace programtest
