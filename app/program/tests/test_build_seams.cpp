// The test build of the program (ZentrikTestBuild.exe, never installed): the installed program's
// sources with the album's test seams set from the environment at the start, so that a test of the
// real process can count its clip tries, slow its repair and hold its plays.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "AlbumTestSeams.h"

namespace {

constexpr char kClipTryLogVariable[] = "ZENTRIK_CLIP_TRY_LOG";
constexpr char kRepairReadPauseVariable[] = "QEL_TEST_REPAIR_READ_PAUSE_MS";
// Plays of clips whose name holds this text hang after their source opened (ordinal 5 of the playback
// library's test build, which lies beside this program; the installed library has no such export).
constexpr char kHeldPlayVariable[] = "QEL_TEST_HOLD_PLAYS";
constexpr WORD kHoldPlaysOrdinal = 5;

std::string Variable(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value) : std::string();
}

std::string& ClipTryLog() {
    static std::string* log = new std::string; // a job thread may note a try while the program ends
    return *log;
}

// One line a try, appended to the file the test named.
void AppendClipTry(const char* path) {
    HANDLE file = ::CreateFileA(ClipTryLog().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = std::string(path) + "\n";
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

void HoldPlays(const std::string& marker) {
    using HoldFunction = void(WINAPI*)(const char*);
    HMODULE playback = ::LoadLibraryA("Fluvant.dll");
    auto hold = playback ? reinterpret_cast<HoldFunction>(reinterpret_cast<void*>(
                               ::GetProcAddress(playback, MAKEINTRESOURCEA(kHoldPlaysOrdinal))))
                         : nullptr;
    if (hold)
        hold(marker.c_str()); // the library keeps its own copy
    else // the installed library was found: the test asked for what cannot happen, so say so at once
        ::MessageBoxA(nullptr, "The playback library's test build is not beside the program: plays are not held.",
                      "Zentrik test build", MB_OK | MB_ICONERROR);
}

struct SeamsFromEnvironment {
    SeamsFromEnvironment() {
        ClipTryLog() = Variable(kClipTryLogVariable);
        if (!ClipTryLog().empty())
            SetClipTryObserver(&AppendClipTry);
        const std::string held = Variable(kHeldPlayVariable);
        if (!held.empty())
            HoldPlays(held);
        const std::string pause = Variable(kRepairReadPauseVariable);
        if (!pause.empty())
            SetRepairReadPause(static_cast<DWORD>(std::strtoul(pause.c_str(), nullptr, 10)));
    }
};

const SeamsFromEnvironment g_seams;

} // namespace
