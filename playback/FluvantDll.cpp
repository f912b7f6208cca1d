// The library's entry point and its exports. Every notification initialises COM on the thread it
// comes on: the program's threads get their COM initialisation from this library.
#include <windows.h>
#include <objbase.h>

#include "PlaybackSession.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    CoInitialize(nullptr);
    if (reason == DLL_PROCESS_ATTACH) {
        PlaybackSession();
        RegisterNotificationClass();
    }
    return TRUE;
}

extern "C" int WINAPI lpPlay(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback) {
    return PlaybackSession().Play(file, host, start, stop, callback);
}

extern "C" int WINAPI lpPlayAsync(const char* file, HWND host, LONGLONG start, LONGLONG stop,
                                  lpProgressCallback callback, UINT outcomeMessage, DWORD* play) {
    return PlaybackSession().BeginPlay(file, host, start, stop, callback, outcomeMessage, play);
}

extern "C" void WINAPI lpStop() { PlaybackSession().Stop(false); }

extern "C" int WINAPI lpFileHeld(const char* file) { return PlaybackSession().FileHeld(file); }

extern "C" int WINAPI lpWaitUntilDown(DWORD ms) { return PlaybackSession().WaitUntilGraphsDown(ms) ? 1 : 0; }

extern "C" int WINAPI lpThreadsLeftInside() { return static_cast<int>(PlaybackSession().ThreadsLeftInside()); }

extern "C" void WINAPI lpShowVideo(BOOL show) { PlaybackSession().SetVideoShown(show != FALSE); }
