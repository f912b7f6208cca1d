#pragma once
// Why a capture's file could not be created, told apart so that the user hears the true cause: its
// folder is gone or read-only, its disk is full, its name too long or invalid, or the folder's name or
// the file's holds a wildcard ('?' stands for a letter the code page lacks).
#include <windows.h>

#include <string>

namespace qelapp {

enum class WriteFailure {
    None,
    FolderMissing,
    FolderReadOnly,
    DiskFull,
    NameTooLong,
    InvalidName,
    FolderNameWildcard, // the folder cannot be reached by its name: it holds '?' or '*'
    FileNameWildcard,   // the file's own name (the name prefix) holds '?' or '*'
    Other
};

struct WriteProblem {
    WriteFailure kind = WriteFailure::None;
    std::string subject; // the folder for the folder's and the disk's causes, else the file
    DWORD error = 0;     // the Win32 code it was told from; 0 when it was seen beforehand
};

// The folder of a file's path, without its last backslash ("C:" for a file in a drive's root); empty
// for a bare name.
std::string FolderOf(const std::string& path);

// Whether the folder is there as a folder ("C:" is taken as the drive's root).
bool FolderIsThere(const std::string& folder);

// Why path could not be created, from the Win32 error of the attempt and a look at its folder: a
// wildcard in the path, then a folder that is not there (or is a file), win over the error's own
// word. A path with a wildcard is never looked up.
WriteProblem WhyNotWritten(const std::string& path, DWORD error);

} // namespace qelapp
