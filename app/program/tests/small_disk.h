#pragma once
// A small disk of the test's own: a memory file system of a given size mounted on the host (root
// only) and given a drive letter of the Wine prefix, for what a drive that fills up does to a
// capture. Unmounted, and its letter removed, at the end. Tests that use one hold "qel_wine_drives".
#include <memory>
#include <string>

#include "wine_drive.h"

namespace programtest {

class ScopedSmallDisk {
public:
    explicit ScopedSmallDisk(int megabytes);
    ~ScopedSmallDisk();
    ScopedSmallDisk(const ScopedSmallDisk&) = delete;
    ScopedSmallDisk& operator=(const ScopedSmallDisk&) = delete;

    // Empty once the disk is mounted and has its letter; else why not.
    const std::string& Failure() const { return failure_; }
    // "R:\", say.
    std::string Root() const { return drive_ ? drive_->Root() : std::string(); }
    // Mounted again read-only (no file or folder can be created or grown, root or not) or writable;
    // empty when done, else why not.
    std::string SetReadOnly(bool readOnly);

private:
    std::string mountPoint_; // the Unix folder
    bool mounted_ = false;
    std::unique_ptr<ScopedWineDrive> drive_;
    std::string failure_;
};

} // namespace programtest
