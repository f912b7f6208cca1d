// Starting the frame-grabbing program beside the running program, and the stills' save dialog.
#include "GraphBuilder.h"

#include <commdlg.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "PlayerSnapshotDialog.h"

namespace {

// The program bounds its own run (30 s); this wait is the caller's guard should it fail to.
constexpr DWORD kFrameSnatchLimitMs = 120000;

// The folder of the running program with "FrameSnatch.exe" appended.
bool FrameSnatchPath(char (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char* slash = std::strrchr(path, '\\');
    char* folderEnd = slash ? slash + 1 : path;
    static const char kProgram[] = "FrameSnatch.exe";
    if (static_cast<size_t>(folderEnd - path) + sizeof kProgram > MAX_PATH)
        return false;
    std::memcpy(folderEnd, kProgram, sizeof kProgram);
    return true;
}

} // namespace

BOOL RunFrameSnatch(const WCHAR* sourceFile, const WCHAR* targetFile, double position, int width,
                    int height) {
    if (!sourceFile || !targetFile)
        return FALSE;
    char source[MAX_PATH], target[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, sourceFile, -1, source, MAX_PATH, nullptr, nullptr) ||
        !WideCharToMultiByte(CP_ACP, 0, targetFile, -1, target, MAX_PATH, nullptr, nullptr))
        return FALSE;
    char program[MAX_PATH];
    if (!FrameSnatchPath(program))
        return FALSE;
    char commandLine[3 * MAX_PATH + 64];
    std::snprintf(commandLine, sizeof commandLine, "FrameSnatch.exe \"%s\" \"%s\" %f %d %d", source, target,
                  position, width, height);

    // An old file of that name must not pass for the new still.
    if (!DeleteFileA(target) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND)
        return FALSE;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &process)) {
        const bool ended = WaitForSingleObject(process.hProcess, kFrameSnatchLimitMs) == WAIT_OBJECT_0;
        if (!ended) {
            // A hung program must not hang the player: it is ended, and what it began to write goes.
            TerminateProcess(process.hProcess, ERROR_TIMEOUT);
            WaitForSingleObject(process.hProcess, 5000);
            DeleteFileA(target);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        if (!ended)
            return FALSE;
    }
    return _access(target, 0) == 0;
}

bool AskSnapshotFileName(const char* defaultExtension, const char* filter, char (&chosen)[MAX_PATH]) {
    chosen[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    return GetSaveFileNameA(&dialog) != FALSE;
}
