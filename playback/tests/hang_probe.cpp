// Plays one clip through the library's first ordinal in a process of its own and answers, as its exit
// code, how lpPlay came back: 0 given up as not answering (HRESULT_FROM_WIN32(ERROR_TIMEOUT)) within the
// hang guard (60 s), 1 a play, 2 no answer in time, 3 the library could not be loaded, 4 another
// failure (the clip was refused, not given up), 5 given up but not counted by lpThreadsLeftInside. A
// clip that hangs the platform's source leaves a thread inside it, and Wine's host side can crash at
// such a process's end; the parent reads only the exit code.
#include <windows.h>

#include <cstdio>

#include "Fluvant.h"

namespace {

typedef int(WINAPI* PlayFn)(const char*, HWND, LONGLONG, LONGLONG, lpProgressCallback);
typedef int(WINAPI* CountFn)();

struct PlayCall {
    PlayFn play;
    const char* clip;
    HWND host;
    int answer = 0;
    DWORD tookMs = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 3;
    HMODULE library = LoadLibraryA("Fluvant.dll");
    auto play = library ? reinterpret_cast<PlayFn>(reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(1))))
                        : nullptr;
    auto threadsLeft = library ? reinterpret_cast<CountFn>(
                                     reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(7))))
                               : nullptr;
    if (!play || !threadsLeft)
        return 3;
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 320, 240, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    // The hang guard: a play that never comes back ends the process with its own code.
    HANDLE guard = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            Sleep(60000);
            std::printf("lpPlay did not come back within 60 s\n");
            std::fflush(stdout);
            ExitProcess(2);
        },
        nullptr, 0, nullptr);
    const DWORD began = GetTickCount();
    const int answer = play(argv[1], host, 0, 0, nullptr);
    const DWORD took = GetTickCount() - began;
    std::printf("figure: lpPlay answered 0x%08x after %lu ms\n", static_cast<unsigned>(answer),
                static_cast<unsigned long>(took));
    std::fflush(stdout);
    if (guard)
        CloseHandle(guard);
    if (answer == 0)
        ExitProcess(1);
    if (answer != static_cast<int>(HRESULT_FROM_WIN32(ERROR_TIMEOUT)))
        ExitProcess(4);
    ExitProcess(threadsLeft() >= 1 ? 0 : 5);
}
