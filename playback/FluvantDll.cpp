// The library's entry point and its exports. Every notification initialises COM on the thread it
// comes on: the program's threads get their COM initialisation from this library.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>

#include "PlaybackSession.h"

namespace {

// For the program's tests only (the installed program never calls it): plays of a file whose name
// holds the marker render it and then wait until the process ends, as a graph whose source the
// platform opens in time but never finishes building.
std::string& HeldPlayMarker() {
    static std::string* marker = new std::string; // read by steps that outlive the library's statics
    return *marker;
}

HRESULT RenderThenHold(IGraphBuilder* graph, const char* file) {
    const HRESULT rendered = RenderMediaFile(graph, file);
    if (!HeldPlayMarker().empty() && std::strstr(file, HeldPlayMarker().c_str()))
        Sleep(INFINITE);
    return rendered;
}

struct HoldingPlatform : PlaybackPlatform {
    RenderStep Renderer() override { return &RenderThenHold; }
};

} // namespace

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

extern "C" void WINAPI lpShowVideo(BOOL show) { PlaybackSession().SetVideoShown(show != FALSE); }

extern "C" void WINAPI lpTestHoldPlays(const char* marker) {
    static HoldingPlatform holding;
    HeldPlayMarker() = marker ? marker : "";
    PlaybackSession().SetPlatform(marker ? &holding : nullptr);
}
