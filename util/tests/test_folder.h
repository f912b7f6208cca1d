#pragma once
// The folder of the running test program, where the test DLLs it loads are built.
#include <windows.h>

#include <string>

namespace utiltest {

inline std::string TestFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(0, full.rfind('\\') + 1);
}

} // namespace utiltest
