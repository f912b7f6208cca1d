#pragma once
// A generated clip and a playing graph of it, as a running preview graph looks to the mix splices.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "qeldshow/com_ptr.h"
#include "qeltest/temp_dir.h"

namespace trimtest {

// Writes the 64x48, 10 fps, 3 s clip of the test media (optionally with sound) to dir.
std::wstring WriteClip(const qeltest::TempDir& dir, const std::string& name, bool withAudio = false);

class ClipGraph {
public:
    // Renders the file into a new graph; Ok() tells whether that worked.
    explicit ClipGraph(const std::wstring& file);
    ~ClipGraph();
    ClipGraph(const ClipGraph&) = delete;
    ClipGraph& operator=(const ClipGraph&) = delete;

    bool Ok() const { return graph_ != nullptr; }
    IGraphBuilder* Graph() const { return graph_.Get(); }
    HRESULT Run();
    OAFilterState State() const;
    // Names of the graph's filters in enumeration order.
    std::vector<std::wstring> FilterNames() const;
    // The name of the filter that feeds the named one's first input, or "" when it is not connected.
    std::wstring NameUpstreamOf(const wchar_t* name) const;
    // The name of the first filter a graph lists.
    static std::wstring FilterNameOfFirst(IGraphBuilder* graph);

private:
    qel::ComPtr<IGraphBuilder> graph_;
};

std::wstring FilterName(IBaseFilter* filter);

} // namespace trimtest
