#include "WriteProblemText.h"

#include "resource.h"

namespace {

UINT TextId(qelapp::WriteFailure kind) {
    switch (kind) {
    case qelapp::WriteFailure::FolderMissing:
        return IDS_WRITE_FOLDER_MISSING;
    case qelapp::WriteFailure::FolderReadOnly:
        return IDS_WRITE_FOLDER_READ_ONLY;
    case qelapp::WriteFailure::DiskFull:
        return IDS_WRITE_DISK_FULL;
    case qelapp::WriteFailure::NameTooLong:
        return IDS_WRITE_NAME_TOO_LONG;
    case qelapp::WriteFailure::InvalidName:
        return IDS_WRITE_INVALID_NAME;
    case qelapp::WriteFailure::FolderNameWildcard:
        return IDS_WRITE_FOLDER_WILDCARD;
    case qelapp::WriteFailure::FileNameWildcard:
        return IDS_WRITE_NAME_WILDCARD;
    default: // Other, and None: a failure whose cause nobody could tell
        return IDS_WRITE_FAILED;
    }
}

} // namespace

CString WriteProblemText(const qelapp::WriteProblem& problem) {
    CString format;
    format.LoadString(TextId(problem.kind));
    CString text;
    if (TextId(problem.kind) == IDS_WRITE_FAILED)
        text.Format(format, problem.subject.c_str(), static_cast<unsigned long>(problem.error));
    else
        text.Format(format, problem.subject.c_str());
    return text;
}
