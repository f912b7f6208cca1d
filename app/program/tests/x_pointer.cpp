#include "x_pointer.h"

#include <cstdio>

namespace programtest {
namespace {

constexpr char kXdotool[] = "/usr/bin/xdotool";
constexpr DWORD kXdotoolGuardMs = 10000;

// Wine starts a Unix program from CreateProcess but gives no handle to wait on: the shell leaves a
// marker file (under Wine's Z: drive, the Unix root) once xdotool has ended.
bool RunShell(const std::string& script, std::string* why) {
    char marker[64];
    std::snprintf(marker, sizeof marker, "/tmp/qel_xdotool_%lu_%lu.done", ::GetCurrentProcessId(), ::GetTickCount());
    std::string windowsMarker = std::string("Z:") + marker;
    for (char& c : windowsMarker)
        if (c == '/')
            c = '\\';
    std::string command = "Z:\\bin\\sh -c \"" + script + "; touch " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        *why = "the shell did not start: error " + std::to_string(::GetLastError());
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    const DWORD end = ::GetTickCount() + kXdotoolGuardMs;
    while (::GetFileAttributesA(windowsMarker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0) {
            *why = "xdotool did not finish within " + std::to_string(kXdotoolGuardMs) + " ms: " + script;
            return false;
        }
        ::Sleep(10);
    }
    ::DeleteFileA(windowsMarker.c_str());
    return true;
}

} // namespace

bool XPointerAvailable(std::string* why) {
    std::string unixPath = std::string("Z:") + kXdotool;
    for (char& c : unixPath)
        if (c == '/')
            c = '\\';
    if (::GetFileAttributesA(unixPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        *why = std::string(kXdotool) + " is not installed";
        return false;
    }
    if (!::GetEnvironmentVariableA("DISPLAY", nullptr, 0)) {
        *why = "no DISPLAY to send X input to";
        return false;
    }
    return true;
}

bool XMoveTo(POINT at, std::string* why) {
    char script[96];
    std::snprintf(script, sizeof script, "%s mousemove %ld %ld", kXdotool, at.x, at.y);
    return RunShell(script, why);
}

bool XClickAt(POINT at, int count, int pauseMs, std::string* why) {
    char script[160];
    std::snprintf(script, sizeof script, "%s mousemove %ld %ld sleep 0.1 click --repeat %d --delay %d 1", kXdotool, at.x,
                  at.y, count, pauseMs);
    return RunShell(script, why);
}

} // namespace programtest
