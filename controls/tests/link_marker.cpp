// A program a hyperlink test opens through the shell: it leaves a marker file beside itself.
#include <windows.h>

#include <string>

int main() {
    char path[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, path, MAX_PATH))
        return 1;
    const std::string marker = std::string(path) + ".marker";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(file);
    return 0;
}
