#pragma once
// Fakes of the Editing Services objects behind the editor's creation function: a timeline whose nodes
// answer the interfaces of their kind, a property setter and a render engine. Every call that matters
// to the editor is recorded, in order, as "<object>.<call>(<arguments>)": groups G1.., tracks K1..,
// sources S1.., transitions X1.., effects E1.., property setters P1.., the render engine R1.
// The render engine builds a real graph of a clip: the clip's video is the video group's output pin.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

namespace trimfake {

struct FakeOptions {
    bool refusePropertySetter = false;   // its creation fails, as where it is not registered
    std::wstring clip;                   // the render engine's video source
    bool volumeProbe = false;            // the graph holds a filter that records "A.put_Volume(v)"
};

// While alive, the editor creates fakes for the timeline, the property setter and the render engine
// (everything else as usual).
class ScopedFakeEditing {
public:
    explicit ScopedFakeEditing(const FakeOptions& options);
    ~ScopedFakeEditing();
    ScopedFakeEditing(const ScopedFakeEditing&) = delete;
    ScopedFakeEditing& operator=(const ScopedFakeEditing&) = delete;

    std::vector<std::string> Calls() const;
    // The calls that contain `part`.
    std::vector<std::string> CallsWith(const std::string& part) const;
    void ClearCalls();
    // The graph the render engine built last (null before), with a reference.
    IGraphBuilder* LastGraph() const;
};

} // namespace trimfake
