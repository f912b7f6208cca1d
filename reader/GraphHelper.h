#pragma once
// CGraphHelper: the filter-graph walks that the media frame reader and the playback library share
// (one source compiled into both): finding filters and pins, connecting two filters, taking parts of a
// graph down. Stateless; each module keeps one static instance. Every interface pointer returned
// carries one reference for the caller.
#include <windows.h>
#include <dshow.h>

class CGraphHelper {
public:
    CGraphHelper() = default;
    virtual ~CGraphHelper() = default;

    // Where every failure text of both libraries goes: dropped on purpose, nothing is shown.
    void Log(const char* format, ...);

    HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin);
    HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream);
    BOOL PinSupportsMediaType(IPin* pin, const GUID* majorType, const GUID* subType);
    IPin* FindPinByMediaType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType,
                             const GUID* subType, BOOL unconnectedOnly);
    IPin* FindPinByMajorType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType);
    // Adds to *inputs, sets *outputs from 0 (callers start *inputs at 0).
    HRESULT CountConnectedPins(IBaseFilter* filter, int* inputs, int* outputs);
    BOOL IsFilterUnconnected(IGraphBuilder* graph, IBaseFilter* filter);
    IBaseFilter* FindFilterByClsid(IGraphBuilder* graph, REFCLSID clsid);
    IBaseFilter* FindSourceFilter(IGraphBuilder* graph);
    IBaseFilter* FindSplitter(IGraphBuilder* graph);
    IBaseFilter* FindVideoRenderer(IGraphBuilder* graph);
    IBaseFilter* FindStreamFilter(IGraphBuilder* graph, BOOL video);
    HRESULT RemoveDownstreamFromPin(IGraphBuilder* graph, IPin* pin);
    HRESULT RemoveDownstream(IGraphBuilder* graph, IBaseFilter* filter);
    HRESULT RemoveBranch(IGraphBuilder* graph, IBaseFilter* filter);
    HRESULT RemoveUnconnectedFilters(IGraphBuilder* graph);

    // Windows Media operations the playback library uses.
    BOOL IsAsfFile(const char* path);
    HRESULT RenderOutputPins(IGraphBuilder* graph, IBaseFilter* filter);
    HRESULT BuildAsfGraph(const char* path, IGraphBuilder* graph, int mode, IBaseFilter* videoRenderer,
                          IBaseFilter* audioRenderer);
};
