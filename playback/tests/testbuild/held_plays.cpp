// The test build's seam (ordinal 5, which only the program's test build calls): plays of a file whose
// name holds the marker render it and then wait until the process ends, as a graph whose source the
// platform opens in time but never finishes building.
#include <windows.h>

#include <cstring>
#include <string>

#include "PlaybackSession.h"

namespace {

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

extern "C" void WINAPI lpTestHoldPlays(const char* marker) {
    static HoldingPlatform holding;
    HeldPlayMarker() = marker ? marker : "";
    PlaybackSession().SetPlatform(marker ? &holding : nullptr);
}
