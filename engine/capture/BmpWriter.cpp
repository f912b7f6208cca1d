#include "BmpWriter.h"

#include "snapcore/BmpLayout.h"

namespace {

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr))
        return false;
    if (written != size)
        SetLastError(ERROR_DISK_FULL); // a short write without an error: no room for the rest
    return written == size;
}

} // namespace

BOOL WriteSnapshotBmp(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length) {
    static_assert(sizeof(BITMAPINFOHEADER) == kBmpInfoHeaderBytes, "the info header is 40 bytes");
    BYTE fileHeader[kBmpFileHeaderBytes];
    if (!fileName || (!bits && length) || !MakeBmpFileHeader(length, fileHeader)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HANDLE file =
        CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const bool written = WriteAll(file, fileHeader, sizeof fileHeader) &&
                         WriteAll(file, &header, sizeof header) && WriteAll(file, bits, length);
    DWORD error = written ? ERROR_SUCCESS : GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (written && !closed)
        error = GetLastError();
    if (written && closed)
        return TRUE;
    DeleteFileA(fileName);
    SetLastError(error); // the write's reason, not the clean-up's
    return FALSE;
}
