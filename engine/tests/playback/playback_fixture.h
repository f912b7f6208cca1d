#pragma once
// Shared ground of the playback-chain tests: a generated clip rendered into a filter graph, the
// stand-in plug-in registered under the chain's class IDs, and the graph read back.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "player_fixture.h"
#include "qeldshow/com_ptr.h"
#include "qeltest/message_box_hook.h"
#include "standin_control.h"

namespace playbacktest {

// The class IDs the playback additions create: three chain plug-ins, the low-light plug-in, the overlay.
std::vector<CLSID> PlaybackClasses();

class PlaybackTest : public playertest::PlayerTest {
protected:
    void SetUp() override;

    // A graph that rendered a 3-second clip (10 frames a second, 64x48).
    qel::ComPtr<IGraphBuilder> RenderClip(const std::string& name = "clip.avi");
    // Graph names of the filters in front of "Video Renderer", nearest last, back to the source.
    static std::vector<std::wstring> ChainBeforeRenderer(IGraphBuilder* graph);
    static std::vector<std::wstring> FilterNames(IGraphBuilder* graph);
    // Whether the graph's "Video Renderer" is the plain video renderer (which takes RGB24 from a
    // spliced filter); else what it is, in *what.
    static bool PlainRenderer(IGraphBuilder* graph, std::string* what);
    // Replaces the graph's "Video Renderer" by the plain video renderer under that name, fed by what
    // fed the old one (Wine renders files into a renderer that refuses RGB24 once reconnected).
    static HRESULT UsePlainRenderer(IGraphBuilder* graph);
    static OAFilterState State(IGraphBuilder* graph);
    static LONGLONG Position(IGraphBuilder* graph);
    static HRESULT Run(IGraphBuilder* graph);
    // Stops the graph from another thread while this one pumps messages: the renderer's window
    // sends to an owner window of this thread while the graph stops.
    static void StopPumping(IGraphBuilder* graph);
    static HRESULT Pause(IGraphBuilder* graph);
    static HRESULT SeekTo(IGraphBuilder* graph, LONGLONG position);
    // The stand-in's log of one class, without lifetime entries.
    std::vector<std::string> Calls(REFCLSID clsid) const { return standins.Log(clsid); }

    // Declared first so that it is the last to go: boxes shown while players are torn down.
    qeltest::ScopedMessageBoxHook boxes;
    standin::StandinModule standins;
};

constexpr LONGLONG kSecond = 10000000;

} // namespace playbacktest
