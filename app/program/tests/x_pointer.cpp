#include "x_pointer.h"

#include <cstdio>

#include "unix_command.h"

namespace programtest {
namespace {

constexpr char kXdotool[] = "/usr/bin/xdotool";

bool RunXdotool(const char* arguments, std::string* why) {
    const std::string script = std::string(kXdotool) + " " + arguments;
    int status = 0;
    if (!RunUnixShell(script, &status, why))
        return false;
    if (status != 0) {
        *why = "xdotool ended with " + std::to_string(status) + ": " + script;
        return false;
    }
    return true;
}

} // namespace

bool XPointerAvailable(std::string* why) {
    if (::GetFileAttributesA(WindowsPathOfUnix(kXdotool).c_str()) == INVALID_FILE_ATTRIBUTES) {
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
    char arguments[64];
    std::snprintf(arguments, sizeof arguments, "mousemove %ld %ld", at.x, at.y);
    return RunXdotool(arguments, why);
}

bool XClickAt(POINT at, int count, int pauseMs, std::string* why) {
    // The pointer may already be there: mousemove's --sync would wait for a move that never comes.
    char arguments[128];
    std::snprintf(arguments, sizeof arguments, "mousemove %ld %ld sleep 0.1 click --repeat %d --delay %d 1",
                  at.x, at.y, count, pauseMs);
    return RunXdotool(arguments, why);
}

bool XHeldClickAt(POINT at, int holdMs, std::string* why) {
    char arguments[128];
    std::snprintf(arguments, sizeof arguments,
                  "mousemove %ld %ld sleep 0.1 mousedown 1 sleep %d.%03d mouseup 1", at.x, at.y,
                  holdMs / 1000, holdMs % 1000);
    return RunXdotool(arguments, why);
}

bool XClick(HWND window, std::string* why) {
    RECT rect = {};
    if (!window || !::GetWindowRect(window, &rect)) {
        *why = "no window to click";
        return false;
    }
    return XClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, 1, 0, why);
}

} // namespace programtest
