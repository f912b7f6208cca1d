#include "trim_clip_graph.h"

#include <fstream>

#include "EnginePins.h"
#include "avi_clip.h"

namespace trimtest {

std::wstring WriteClip(const qeltest::TempDir& dir, const std::string& name, bool withAudio) {
    qelmedia::AviClipFormat format;
    format.withAudio = withAudio;
    const std::string path = dir.File(name);
    if (!qelmedia::WriteAviClip(path, format))
        return L"";
    return std::wstring(path.begin(), path.end());
}

std::wstring FilterName(IBaseFilter* filter) {
    FILTER_INFO info = {};
    if (!filter || FAILED(filter->QueryFilterInfo(&info)))
        return L"";
    if (info.pGraph)
        info.pGraph->Release();
    return info.achName;
}

ClipGraph::ClipGraph(const std::wstring& file) {
    qel::ComPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph.GetAddressOf()))))
        return;
    // The AVI splitter hands on the clip's own RGB24 frames, which the RGB24 plug-ins take; a graph that
    // the platform builds alone may decode to a planar format they refuse.
    qel::ComPtr<IBaseFilter> source;
    qel::ComPtr<IBaseFilter> splitter;
    if (FAILED(graph->AddSourceFilter(file.c_str(), L"Source", &source)) ||
        FAILED(CoCreateInstance(CLSID_AviSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(splitter.GetAddressOf()))) ||
        FAILED(graph->AddFilter(splitter.Get(), L"AVI Splitter")))
        return;
    const qel::ComPtr<IPin> sourceOut = qel::TakeOver(FindPin(source.Get(), PINDIR_OUTPUT));
    const qel::ComPtr<IPin> splitterIn = qel::TakeOver(FindPin(splitter.Get(), PINDIR_INPUT));
    if (!sourceOut || !splitterIn || FAILED(graph->ConnectDirect(sourceOut.Get(), splitterIn.Get(), nullptr)))
        return;
    for (int i = 0;; ++i) {
        IPin* out = GetOutPin(splitter.Get(), i);
        if (!out)
            break;
        if (FAILED(graph->Render(out)))
            return;
    }
    graph_ = graph;
}

ClipGraph::~ClipGraph() {
    qel::ComPtr<IMediaControl> control;
    if (graph_ && SUCCEEDED(graph_.As(&control)))
        control->Stop();
}

HRESULT ClipGraph::Run() {
    qel::ComPtr<IMediaControl> control;
    HRESULT hr = graph_.As(&control);
    if (FAILED(hr))
        return hr;
    hr = control->Run();
    OAFilterState state;
    control->GetState(2000, &state);
    return hr;
}

OAFilterState ClipGraph::State() const {
    qel::ComPtr<IMediaControl> control;
    OAFilterState state = -1;
    if (SUCCEEDED(graph_.As(&control)))
        control->GetState(2000, &state);
    return state;
}

std::vector<std::wstring> ClipGraph::FilterNames() const {
    std::vector<std::wstring> names;
    qel::ComPtr<IEnumFilters> walk;
    if (FAILED(graph_->EnumFilters(&walk)))
        return names;
    qel::ComPtr<IBaseFilter> filter;
    while (walk->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        names.push_back(FilterName(filter.Get()));
    return names;
}

std::wstring ClipGraph::FilterNameOfFirst(IGraphBuilder* graph) {
    qel::ComPtr<IEnumFilters> walk;
    qel::ComPtr<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(&walk)) || walk->Next(1, &filter, nullptr) != S_OK)
        return L"";
    return FilterName(filter.Get());
}

std::wstring ClipGraph::NameUpstreamOf(const wchar_t* name) const {
    qel::ComPtr<IBaseFilter> filter;
    if (FAILED(graph_->FindFilterByName(name, &filter)))
        return L"";
    const qel::ComPtr<IPin> in = qel::TakeOver(FindPin(filter.Get(), PINDIR_INPUT));
    qel::ComPtr<IPin> peer;
    if (!in || FAILED(in->ConnectedTo(&peer)))
        return L"";
    PIN_INFO info = {};
    if (FAILED(peer->QueryPinInfo(&info)))
        return L"";
    const std::wstring result = FilterName(info.pFilter);
    if (info.pFilter)
        info.pFilter->Release();
    return result;
}

} // namespace trimtest
