// Telling a capture file's write failure apart.
#include "WriteProblem.h"

#include "WideText.h"

namespace qelapp {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool FolderIsThere(const std::string& folder) {
    if (folder.empty())
        return true; // a bare name goes to the current folder, which is there
    // "C:" alone would name the drive's current folder.
    const std::string asked = folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
    const DWORD attributes = ::GetFileAttributesA(asked.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

WriteProblem WhyNotWritten(const std::string& path, DWORD error) {
    WriteProblem problem;
    problem.error = error;
    const std::string folder = FolderOf(path);
    if (path.size() >= MAX_PATH || error == ERROR_FILENAME_EXCED_RANGE) {
        problem.kind = WriteFailure::NameTooLong;
        problem.subject = path;
        return problem;
    }
    if (!path.empty() && !NamesOneFile(path.c_str())) {
        const bool inFolder = !folder.empty() && !NamesOneFile(folder.c_str());
        problem.kind = inFolder ? WriteFailure::FolderNameWildcard : WriteFailure::FileNameWildcard;
        problem.subject = inFolder ? folder : path;
        return problem;
    }
    if (!FolderIsThere(folder)) {
        problem.kind = WriteFailure::FolderMissing;
        problem.subject = folder;
        return problem;
    }
    switch (error) {
    case ERROR_SUCCESS:
        return problem; // nothing known against it
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        problem.kind = WriteFailure::FolderReadOnly;
        problem.subject = folder;
        return problem;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        problem.kind = WriteFailure::DiskFull;
        problem.subject = folder;
        return problem;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
        // Gone between the look and the attempt.
        problem.kind = WriteFailure::FolderMissing;
        problem.subject = folder;
        return problem;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        problem.kind = WriteFailure::InvalidName;
        problem.subject = path;
        return problem;
    default:
        problem.kind = WriteFailure::Other;
        problem.subject = path;
        return problem;
    }
}

} // namespace qelapp
