// qel_help_viewer.exe: a help viewer of our own for tests, registered for ".chm" in the test's prefix.
// It appends its whole command line, one line per start, to the file QEL_HELP_VIEWER_LOG names, and
// ends at once.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("QEL_HELP_VIEWER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const std::string line = std::string(GetCommandLineA()) + "\r\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
