#include "RendererSplice.h"

#include "GraphSplice.h"
#include "PinHelpers.h"

#include <cstring>

using qel::ComPtr;

ComPtr<IPin> NamedFilterInput(IGraphBuilder* graph, const char* name, bool last) {
    ComPtr<IPin> found;
    for (const ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        FILTER_INFO info = {};
        if (FAILED(filter->QueryFilterInfo(&info)))
            continue;
        const ComPtr<IFilterGraph> infoGraph = qel::TakeOver(info.pGraph);
        char ansi[256] = {0};
        WideCharToMultiByte(CP_ACP, 0, info.achName, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
        if (!std::strstr(ansi, name))
            continue;
        found = PinOf(filter.Get(), PINDIR_INPUT);
        if (!last)
            break;
    }
    return found;
}

RendererSpliceStep SpliceBeforeRenderer(IGraphBuilder* graph, IBaseFilter* filter, const WCHAR* graphName,
                                        IPin* rendererIn, HRESULT* result) {
    *result = S_OK;
    // Undo failures have no one to be reported to here: the graph is as good as the undo could make it.
    GraphSplice splice(graph, [](HRESULT) {});
    if (FAILED(*result = graph->AddFilter(filter, graphName)))
        return RendererSpliceStep::kAdd;
    const ComPtr<IPin> in = PinOf(filter, PINDIR_INPUT);
    const ComPtr<IPin> out = PinOf(filter, PINDIR_OUTPUT);
    if (!in || !out) {
        *result = E_FAIL;
        return RendererSpliceStep::kPins;
    }
    const ComPtr<IPin> upstream = PeerOf(rendererIn);
    SpliceStep step = SpliceStep::kNone;
    if (SUCCEEDED(*result = splice.TakeApart(rendererIn, &step)))
        *result = splice.Insert(upstream.Get(), in.Get(), out.Get(), rendererIn, &step);
    switch (step) {
    case SpliceStep::kDisconnectInput: return RendererSpliceStep::kDisconnectInput;
    case SpliceStep::kDisconnectUpstream: return RendererSpliceStep::kDisconnectUpstream;
    case SpliceStep::kConnectInput: return RendererSpliceStep::kConnectInput;
    case SpliceStep::kConnectOutput: return RendererSpliceStep::kConnectOutput;
    case SpliceStep::kNone: break;
    }
    splice.Commit();
    return RendererSpliceStep::kNone;
}
