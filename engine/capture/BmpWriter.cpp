#include "BmpWriter.h"

#include "snapcore/BmpLayout.h"

namespace {

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

} // namespace

BOOL WriteSnapshotBmp(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length) {
    static_assert(sizeof(BITMAPINFOHEADER) == kBmpInfoHeaderBytes, "the info header is 40 bytes");
    BYTE fileHeader[kBmpFileHeaderBytes];
    if (!fileName || (!bits && length) || !MakeBmpFileHeader(length, fileHeader))
        return FALSE;
    HANDLE file =
        CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const bool written = WriteAll(file, fileHeader, sizeof fileHeader) &&
                         WriteAll(file, &header, sizeof header) && WriteAll(file, bits, length);
    const bool closed = CloseHandle(file) != 0;
    if (written && closed)
        return TRUE;
    DeleteFileA(fileName);
    return FALSE;
}
