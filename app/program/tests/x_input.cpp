#include "x_input.h"

#include <cstdio>

#include "program_windows.h"

namespace programtest {
namespace {

const char kXdotool[] = "/usr/bin/xdotool";

bool RunXdotool(const std::string& arguments) {
    std::string command = std::string("start.exe /wait /unix ") + kXdotool + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return false;
    const bool ended = ::WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (ended)
        ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ended && code == 0;
}

} // namespace

bool XInputAvailable(std::string* why) {
    if (::GetFileAttributesA((std::string("Z:") + kXdotool).c_str()) == INVALID_FILE_ATTRIBUTES) {
        *why = std::string(kXdotool) + " is not installed";
        return false;
    }
    if (!RunXdotool("getmouselocation")) {
        *why = "xdotool does not run through start /unix";
        return false;
    }
    return true;
}

bool XClickAt(POINT screen, int clicks) {
    char arguments[128];
    std::snprintf(arguments, sizeof arguments, "mousemove %ld %ld click --repeat %d --delay 80 1",
                  static_cast<long>(screen.x), static_cast<long>(screen.y), clicks);
    return RunXdotool(arguments);
}

bool XClick(HWND window, int clicks) {
    const RECT r = ScreenRectOf(window);
    return XClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, clicks);
}

} // namespace programtest
