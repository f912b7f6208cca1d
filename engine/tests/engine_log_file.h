#pragma once
// The engine's error log file as tests see it: read whole, or removed for a clean start.
#include <windows.h>

#include <string>

namespace enginetest {

constexpr char kEngineLogPath[] = "C:\\CLiveCap.log";

inline std::string ReadEngineLog() {
    std::string text;
    HANDLE file = CreateFileA(kEngineLogPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

inline void RemoveEngineLog() {
    SetFileAttributesA(kEngineLogPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kEngineLogPath);
}

} // namespace enginetest
