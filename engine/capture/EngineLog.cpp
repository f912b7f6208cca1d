// The engine's error log "C:\CLiveCap.log": one record per failing COM step, when the log flag is set.
#include "LiveCaptureInternal.h"

namespace {
const char kLogPath[] = "C:\\CLiveCap.log";
constexpr DWORD kLogAccess = 0x1F03FF; // every right on the file
} // namespace

CString FormatLiveCapLogRecord(HRESULT result, const char* errorText, const char* sourceFile, int line) {
    // The record is built to its full length: neither a long error text nor a long file name is cut.
    CString record;
    record.Format("\n\n\n%s\n in %s\n Line %d\n", errorText ? errorText : "", sourceFile ? sourceFile : "",
                  line);
    CString head;
    head.Format("CLiveCapture,Err code: %d,Hex: 0x%.8x", static_cast<int>(result),
                static_cast<unsigned>(result));
    record += head;
    return record;
}

void CLiveCapture::MyShowErrMSG(HRESULT result, const char* sourceFile, int line) {
    char errorText[160] = {0};
    AMGetErrorTextA(result, errorText, sizeof errorText);
    errorText[sizeof errorText - 1] = 0;
    const CString record = FormatLiveCapLogRecord(result, errorText, sourceFile, line);
    if (!m_bLogToFile)
        return;
    HANDLE file = CreateFileA(kLogPath, kLogAccess, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return; // a log that cannot be opened is ignored
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, record.GetString(), static_cast<DWORD>(record.GetLength()), &written, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
}
