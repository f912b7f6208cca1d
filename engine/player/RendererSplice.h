#pragma once
// Splicing a filter immediately before a playback graph's video renderer. The caller holds the graph
// stopped (StoppedGraph); a splice that fails puts the graph back as it was: the filter goes and the
// renderer's link is made again.
#include <windows.h>
#include <dshow.h>

#include "qeldshow/com_ptr.h"

// The step of a splice before the renderer that failed.
enum class RendererSpliceStep {
    kNone,
    kAdd,                 // AddFilter
    kPins,                // the filter lacks an input or an output pin
    kDisconnectInput,     // the renderer's input
    kDisconnectUpstream,  // the output that fed it
    kConnectInput,        // upstream into the filter
    kConnectOutput,       // the filter into the renderer
};

// Whether the filter's graph name, in ANSI (at most 255 bytes), contains name (case-sensitive).
bool FilterNameContains(IBaseFilter* filter, const char* name);

// The input pin of a filter whose name contains name (ANSI, case-sensitive): the first such filter,
// or with last the last one. Null when there is none or it has no input.
qel::ComPtr<IPin> NamedFilterInput(IGraphBuilder* graph, const char* name, bool last = false);

// A direct connection over the types out offers that in takes, else an intelligent connect.
HRESULT ConnectPins(IGraphBuilder* graph, IPin* out, IPin* in);

// Adds filter under graphName and wires it between rendererIn and the output that feeds it.
// kNone on success; otherwise the failing step, its result in *result, and the graph as before.
RendererSpliceStep SpliceBeforeRenderer(IGraphBuilder* graph, IBaseFilter* filter, const WCHAR* graphName,
                                        IPin* rendererIn, HRESULT* result);
