#include "RendererSplice.h"

#include "EngineCom.h"
#include "GraphSplice.h"
#include "EnginePins.h"

#include <cstring>

using qel::ComPtr;

namespace {

// A direct connection over the types the output offers that the input takes, else an intelligent
// connect. Wine's file splitter offers RGB24 among its types, yet its intelligent connect to a filter
// that takes RGB24 only fails and spoils a direct attempt after it.
HRESULT ConnectInto(IGraphBuilder* graph, IPin* out, IPin* in) {
    ComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(out->EnumMediaTypes(&types))) {
        AM_MEDIA_TYPE* type = nullptr;
        while (types->Next(1, &type, nullptr) == S_OK) {
            const bool connected = in->QueryAccept(type) == S_OK && SUCCEEDED(graph->ConnectDirect(out, in, type));
            FreeMediaTypeFields(*type);
            CoTaskMemFree(type);
            if (connected)
                return S_OK;
        }
    }
    return graph->Connect(out, in);
}

} // namespace

HRESULT ConnectPins(IGraphBuilder* graph, IPin* out, IPin* in) { return ConnectInto(graph, out, in); }

bool FilterNameContains(IBaseFilter* filter, const char* name) {
    FILTER_INFO info = {};
    if (!filter || FAILED(filter->QueryFilterInfo(&info)))
        return false;
    const ComPtr<IFilterGraph> infoGraph = qel::TakeOver(info.pGraph);
    char ansi[256] = {0};
    WideCharToMultiByte(CP_ACP, 0, info.achName, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    return std::strstr(ansi, name) != nullptr;
}

ComPtr<IPin> NamedFilterInput(IGraphBuilder* graph, const char* name, bool last) {
    ComPtr<IPin> found;
    for (const ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        if (!FilterNameContains(filter.Get(), name))
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
    if (FAILED(*result = splice.TakeApart(rendererIn, &step)))
        return step == SpliceStep::kDisconnectInput ? RendererSpliceStep::kDisconnectInput
                                                    : RendererSpliceStep::kDisconnectUpstream;
    if (!upstream || FAILED(*result = ConnectInto(graph, upstream.Get(), in.Get()))) {
        if (!upstream)
            *result = E_POINTER;
        return RendererSpliceStep::kConnectInput;
    }
    if (FAILED(*result = ConnectInto(graph, out.Get(), rendererIn)))
        return RendererSpliceStep::kConnectOutput;
    splice.Commit();
    return RendererSpliceStep::kNone;
}
