#include "WriterGraphStop.h"

#include "qeldshow/com_ptr.h"

namespace {

// COM identity: the same object whichever interface pointer names it.
bool SameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b)
        return false;
    qel::ComPtr<IUnknown> left, right;
    return SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(left.GetAddressOf()))) &&
           SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(right.GetAddressOf()))) &&
           left.Get() == right.Get();
}

bool IsWriter(IBaseFilter* filter, std::initializer_list<IBaseFilter*> writers) {
    for (IBaseFilter* writer : writers)
        if (SameObject(filter, writer))
            return true;
    return false;
}

} // namespace

HRESULT StopWritingGraph(IGraphBuilder* graph, std::initializer_list<IBaseFilter*> writers) {
    if (!graph)
        return E_POINTER;
    qel::ComPtr<IMediaControl> control;
    HRESULT hr = graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.GetAddressOf()));
    if (FAILED(hr))
        return hr;
    OAFilterState state = State_Stopped;
    control->GetState(0, &state);
    if (state != State_Stopped) {
        // Paused first: a graph stopping from running pauses every filter on its way, which would
        // start the feeders stopped below streaming again. A failed pause still ends in the stop.
        if (state == State_Running)
            control->Pause();
        qel::ComPtr<IEnumFilters> filters;
        if (SUCCEEDED(graph->EnumFilters(filters.GetAddressOf()))) {
            qel::ComPtr<IBaseFilter> filter;
            while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
                if (!IsWriter(filter.Get(), writers))
                    filter->Stop();
        }
    }
    return control->Stop();
}
