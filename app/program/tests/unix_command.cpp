#include "unix_command.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace programtest {
namespace {

constexpr DWORD kShellGuardMs = 10000;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return text;
}

} // namespace

std::string UnixTempName(const char* stem) {
    char prefix[MAX_PATH] = {};
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    unsigned long hash = 5381;
    for (const char* c = prefix; *c; ++c)
        hash = hash * 33 + static_cast<unsigned char>(*c);
    char name[128];
    std::snprintf(name, sizeof name, "/tmp/%s_%08lx_%lu_%lu", stem, hash & 0xFFFFFFFFul, ::GetCurrentProcessId(),
                  ::GetTickCount());
    return name;
}

std::string WindowsPathOfUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool RunUnixShell(const std::string& script, int* status, std::string* why) {
    // Wine gives no handle of a Unix process to wait on: the shell writes the status to a marker file
    // (renamed into place whole) once the script has ended.
    const std::string marker = UnixTempName("qel_shell");
    const std::string done = marker + ".done";
    std::string command = "Z:\\bin\\sh -c \"" + script + "; echo $? > " + marker + ".part; mv " + marker +
                          ".part " + done + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        *why = "the shell did not start: error " + std::to_string(::GetLastError());
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    const std::string windowsDone = WindowsPathOfUnix(done);
    const DWORD end = ::GetTickCount() + kShellGuardMs;
    while (::GetFileAttributesA(windowsDone.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0) {
            *why = "the shell did not finish within " + std::to_string(kShellGuardMs) + " ms: " + script;
            return false;
        }
        ::Sleep(10);
    }
    *status = std::atoi(ReadAll(windowsDone).c_str());
    ::DeleteFileA(windowsDone.c_str());
    return true;
}

} // namespace programtest
