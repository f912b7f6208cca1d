#include "afxwin.h"

#include <cstring>

namespace {

// The caption MFC programs show: the program's file name without folder and extension.
void ProgramName(char* name, DWORD size) {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* base = std::strrchr(path, '\\');
    base = base ? base + 1 : path;
    lstrcpynA(name, base, static_cast<int>(size));
    if (char* dot = std::strrchr(name, '.'))
        *dot = 0;
}

} // namespace

int AfxMessageBox(LPCSTR text, UINT type, UINT /*helpId*/) {
    char caption[MAX_PATH];
    ProgramName(caption, sizeof caption);
    return AfxShowMessageBox(GetActiveWindow(), text, caption, type);
}
