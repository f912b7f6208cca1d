// The graph walks of CGraphHelper. Walks enumerate from the start and fetch one item at a time; a pin
// is connected when ConnectedTo yields a peer.
#include "GraphHelper.h"

#include <list>
#include <vector>

#include "qeldshow/com_ptr.h"
#include "ReaderClsids.h"
#include "media_kind.h"

namespace {

bool IsConnected(IPin* pin) {
    qel::ComPtr<IPin> peer;
    return SUCCEEDED(pin->ConnectedTo(&peer)) && peer;
}

PIN_DIRECTION DirectionOf(IPin* pin) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    return direction;
}

// Every pin of the filter; empty when it has none or cannot list them.
std::vector<qel::ComPtr<IPin>> PinsOf(IBaseFilter* filter, HRESULT* listed = nullptr) {
    std::vector<qel::ComPtr<IPin>> pins;
    qel::ComPtr<IEnumPins> pinList;
    const HRESULT hr = filter ? filter->EnumPins(&pinList) : E_POINTER;
    if (listed)
        *listed = FAILED(hr) ? hr : (pinList ? S_OK : E_FAIL);
    if (FAILED(hr) || !pinList)
        return pins;
    pinList->Reset();
    qel::ComPtr<IPin> pin;
    while (pinList->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        pins.push_back(pin);
    return pins;
}

std::vector<qel::ComPtr<IBaseFilter>> FiltersOf(IGraphBuilder* graph) {
    std::vector<qel::ComPtr<IBaseFilter>> filters;
    qel::ComPtr<IEnumFilters> filterList;
    if (!graph || FAILED(graph->EnumFilters(&filterList)) || !filterList)
        return filters;
    filterList->Reset();
    qel::ComPtr<IBaseFilter> filter;
    while (filterList->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        filters.push_back(filter);
    return filters;
}

qel::ComPtr<IBaseFilter> OwnerOf(IPin* pin) {
    PIN_INFO info = {};
    if (!pin || FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return qel::TakeOver(info.pFilter);
}

bool HasClass(IBaseFilter* filter, REFCLSID clsid) {
    CLSID actual = GUID_NULL;
    return filter && SUCCEEDED(filter->GetClassID(&actual)) && actual == clsid;
}

void FreeType(AM_MEDIA_TYPE* type) {
    if (type->cbFormat && type->pbFormat)
        CoTaskMemFree(type->pbFormat);
    type->pbFormat = nullptr;
    type->cbFormat = 0;
    if (type->pUnk)
        type->pUnk->Release();
    type->pUnk = nullptr;
}

struct ConnectionType {
    GUID major = GUID_NULL;
    GUID sub = GUID_NULL;
};

bool ReadConnectionType(IPin* pin, ConnectionType* out) {
    AM_MEDIA_TYPE type = {};
    if (FAILED(pin->ConnectionMediaType(&type)))
        return false;
    out->major = type.majortype;
    out->sub = type.subtype;
    FreeType(&type);
    return true;
}

} // namespace

void CGraphHelper::Log(const char* /*format*/, ...) {}

HRESULT CGraphHelper::GetPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin) {
    if (!pin)
        return E_POINTER;
    *pin = nullptr;
    for (const qel::ComPtr<IPin>& candidate : PinsOf(filter))
        if (DirectionOf(candidate.Get()) == direction) {
            *pin = qel::ComPtr<IPin>(candidate).Detach();
            return S_OK;
        }
    return E_FAIL;
}

HRESULT CGraphHelper::ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream) {
    if (!graph)
        return E_FAIL;
    qel::ComPtr<IPin> out, in;
    if (FAILED(GetPin(upstream, PINDIR_OUTPUT, &out)) || FAILED(GetPin(downstream, PINDIR_INPUT, &in)))
        return E_FAIL;
    return graph->Connect(out.Get(), in.Get());
}

BOOL CGraphHelper::PinSupportsMediaType(IPin* pin, const GUID* majorType, const GUID* subType) {
    qel::ComPtr<IEnumMediaTypes> types;
    if (!pin || FAILED(pin->EnumMediaTypes(&types)) || !types)
        return FALSE;
    types->Reset();
    bool any = false;
    AM_MEDIA_TYPE* type = nullptr;
    while (types->Next(1, &type, nullptr) == S_OK) {
        any = true;
        const bool match = (!majorType || type->majortype == *majorType) && (!subType || type->subtype == *subType);
        FreeType(type);
        CoTaskMemFree(type);
        if (match)
            return TRUE;
    }
    // A pin that offers no type at all may still accept the one asked for.
    return any ? FALSE : TRUE;
}

IPin* CGraphHelper::FindPinByMediaType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType,
                                       const GUID* subType, BOOL unconnectedOnly) {
    for (const qel::ComPtr<IPin>& pin : PinsOf(filter)) {
        if (DirectionOf(pin.Get()) != direction)
            continue;
        if (unconnectedOnly && IsConnected(pin.Get()))
            continue;
        if (PinSupportsMediaType(pin.Get(), majorType, subType))
            return qel::ComPtr<IPin>(pin).Detach();
    }
    return nullptr;
}

IPin* CGraphHelper::FindPinByMajorType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType) {
    for (const qel::ComPtr<IPin>& pin : PinsOf(filter))
        if (DirectionOf(pin.Get()) == direction && PinSupportsMediaType(pin.Get(), majorType, nullptr) &&
            IsConnected(pin.Get()))
            return qel::ComPtr<IPin>(pin).Detach();
    return nullptr;
}

HRESULT CGraphHelper::CountConnectedPins(IBaseFilter* filter, int* inputs, int* outputs) {
    if (!filter)
        return E_FAIL;
    if (outputs)
        *outputs = 0;
    HRESULT listed = S_OK;
    const std::vector<qel::ComPtr<IPin>> pins = PinsOf(filter, &listed);
    if (FAILED(listed))
        return listed;
    for (const qel::ComPtr<IPin>& pin : pins) {
        if (!IsConnected(pin.Get()))
            continue;
        int* count = DirectionOf(pin.Get()) == PINDIR_INPUT ? inputs : outputs;
        if (count)
            ++*count;
    }
    return S_OK;
}

BOOL CGraphHelper::IsFilterUnconnected(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter)
        return TRUE;
    for (const qel::ComPtr<IPin>& pin : PinsOf(filter))
        if (IsConnected(pin.Get()))
            return FALSE;
    return TRUE;
}

IBaseFilter* CGraphHelper::FindFilterByClsid(IGraphBuilder* graph, REFCLSID clsid) {
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph))
        if (HasClass(filter.Get(), clsid))
            return qel::ComPtr<IBaseFilter>(filter).Detach();
    return nullptr;
}

IBaseFilter* CGraphHelper::FindSourceFilter(IGraphBuilder* graph) {
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        int inputs = 0, outputs = 0;
        if (SUCCEEDED(CountConnectedPins(filter.Get(), &inputs, &outputs)) && outputs > 0 && inputs == 0)
            return qel::ComPtr<IBaseFilter>(filter).Detach();
    }
    return nullptr;
}

IBaseFilter* CGraphHelper::FindSplitter(IGraphBuilder* graph) {
    qel::ComPtr<IBaseFilter> current = qel::TakeOver(FindSourceFilter(graph));
    while (current) {
        int connected = 0;
        qel::ComPtr<IBaseFilter> below;
        for (const qel::ComPtr<IPin>& pin : PinsOf(current.Get())) {
            if (DirectionOf(pin.Get()) != PINDIR_OUTPUT)
                continue;
            qel::ComPtr<IPin> peer;
            if (FAILED(pin->ConnectedTo(&peer)) || !peer)
                continue;
            if (++connected == 1)
                below = OwnerOf(peer.Get());
        }
        if (connected > 1)
            return current.Detach();
        current = below;
    }
    return nullptr;
}

IBaseFilter* CGraphHelper::FindVideoRenderer(IGraphBuilder* graph) {
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph))
        if (HasClass(filter.Get(), qelclsid::kVideoRenderer) || HasClass(filter.Get(), qelclsid::kVideoMixingRenderer))
            return qel::ComPtr<IBaseFilter>(filter).Detach();
    return nullptr;
}

IBaseFilter* CGraphHelper::FindStreamFilter(IGraphBuilder* graph, BOOL video) {
    const GUID& major = video ? MEDIATYPE_Video : MEDIATYPE_Audio;
    const GUID& sub = video ? MEDIASUBTYPE_RGB24 : MEDIASUBTYPE_PCM;
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        qel::ComPtr<IPin> in = qel::TakeOver(FindPinByMajorType(filter.Get(), PINDIR_INPUT, nullptr));
        qel::ComPtr<IPin> out = qel::TakeOver(FindPinByMajorType(filter.Get(), PINDIR_OUTPUT, nullptr));
        if (!in || !out)
            continue;
        ConnectionType outType, inType;
        if (!ReadConnectionType(out.Get(), &outType) || outType.major != major || outType.sub != sub)
            continue;
        if (!ReadConnectionType(in.Get(), &inType))
            continue;
        if (inType.major == MEDIATYPE_Stream || inType.major == MEDIATYPE_Interleaved ||
            (inType.major == major && inType.sub == sub))
            continue;
        return qel::ComPtr<IBaseFilter>(filter).Detach();
    }
    return nullptr;
}

HRESULT CGraphHelper::RemoveDownstreamFromPin(IGraphBuilder* graph, IPin* pin) {
    if (!graph || !pin || DirectionOf(pin) != PINDIR_OUTPUT)
        return E_FAIL;
    qel::ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(&peer)) || !peer)
        return E_FAIL;
    PIN_INFO info = {};
    if (FAILED(peer->QueryPinInfo(&info)))
        return E_FAIL;
    qel::ComPtr<IBaseFilter> peerFilter = qel::TakeOver(info.pFilter);
    if (info.dir != PINDIR_INPUT)
        return E_FAIL;
    HRESULT hr = RemoveDownstream(graph, peerFilter.Get());
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = graph->Disconnect(peer.Get())) || FAILED(hr = graph->Disconnect(pin)))
        return hr;
    if (IsFilterUnconnected(graph, peerFilter.Get()))
        hr = graph->RemoveFilter(peerFilter.Get());
    return hr;
}

HRESULT CGraphHelper::RemoveDownstream(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter)
        return E_FAIL;
    for (const qel::ComPtr<IPin>& pin : PinsOf(filter)) {
        if (DirectionOf(pin.Get()) != PINDIR_OUTPUT || !IsConnected(pin.Get()))
            continue;
        const HRESULT hr = RemoveDownstreamFromPin(graph, pin.Get());
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CGraphHelper::RemoveBranch(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter)
        return E_FAIL;
    qel::ComPtr<IBaseFilter> current(filter);
    qel::ComPtr<IPin> branchPin;
    // Each step goes one filter upstream; a graph has no cycles, but a bound keeps a damaged one finite.
    for (int steps = 0; current && !branchPin && steps < 256; ++steps) {
        qel::ComPtr<IBaseFilter> upstream;
        for (const qel::ComPtr<IPin>& pin : PinsOf(current.Get())) {
            if (DirectionOf(pin.Get()) != PINDIR_INPUT)
                continue;
            qel::ComPtr<IPin> peer;
            if (FAILED(pin->ConnectedTo(&peer)) || !peer)
                continue;
            qel::ComPtr<IBaseFilter> owner = OwnerOf(peer.Get());
            int inputs = 0, outputs = 0;
            if (owner && SUCCEEDED(CountConnectedPins(owner.Get(), &inputs, &outputs)) && outputs > 1) {
                branchPin = peer;
                break;
            }
            upstream = owner;
        }
        current = upstream;
    }
    if (!branchPin)
        return E_FAIL;
    return RemoveDownstreamFromPin(graph, branchPin.Get());
}

HRESULT CGraphHelper::RemoveUnconnectedFilters(IGraphBuilder* graph) {
    if (!graph)
        return E_FAIL;
    std::list<qel::ComPtr<IBaseFilter>> toRemove; // the list of filters to be removed
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        HRESULT listed = S_OK;
        const std::vector<qel::ComPtr<IPin>> pins = PinsOf(filter.Get(), &listed);
        if (FAILED(listed) || pins.empty())
            continue;
        bool connected = false;
        for (const qel::ComPtr<IPin>& pin : pins)
            connected = connected || IsConnected(pin.Get());
        if (!connected)
            toRemove.push_back(filter);
    }
    HRESULT last = S_OK;
    while (!toRemove.empty()) {
        last = graph->RemoveFilter(toRemove.front().Get());
        toRemove.pop_front();
    }
    return last;
}

BOOL CGraphHelper::IsAsfFile(const char* path) {
    qel::ComPtr<IGraphBuilder> graph;
    qel::ComPtr<IBaseFilter> source;
    HRESULT hr = CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(graph.GetAddressOf()));
    if (FAILED(hr))
        Log("Error %x: Cannot CoCreateInstance IGraphBuilder", hr);
    qel::ComPtr<IBaseFilter> renderers[2];
    const wchar_t* names[2] = {L"Null Render1", L"Null Render2"};
    for (int i = 0; i < 2 && SUCCEEDED(hr); ++i) {
        hr = CoCreateInstance(qelclsid::kNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                              reinterpret_cast<void**>(renderers[i].GetAddressOf()));
        if (FAILED(hr)) {
            Log("Error %x: Cannot CoCreateInstance Null Render filter", hr);
        } else if (FAILED(hr = graph->AddFilter(renderers[i].Get(), names[i]))) {
            Log(i == 0 ? "Error %x: Cannot add the Null Render1 into graph" : "Error %x: Cannot add the Null Render2 into graph", hr);
        }
    }
    if (SUCCEEDED(hr)) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path ? path : "", -1, wide, MAX_PATH);
        wide[MAX_PATH - 1] = 0;
        if (FAILED(hr = graph->RenderFile(wide, nullptr)))
            Log("Error %x: Cannot render the file %s", hr, path);
    }
    if (SUCCEEDED(hr)) {
        RemoveUnconnectedFilters(graph.Get());
        source = qel::TakeOver(FindSourceFilter(graph.Get()));
        if (!source) {
            Log("Error : Cannot find the source filter of file %s", path);
            hr = E_FAIL;
        }
    }
    BOOL answer = FALSE;
    if (source)
        answer = HasClass(source.Get(), qelclsid::kWmAsfReader) || HasClass(source.Get(), qelclsid::kWindowsMediaSource);
    else
        answer = qelreader::IsWindowsMediaPath(path) ? TRUE : FALSE; // only when the trial graph could not tell
    if (graph) {
        if (source) {
            RemoveDownstream(graph.Get(), source.Get());
            graph->RemoveFilter(source.Get());
        }
        RemoveUnconnectedFilters(graph.Get());
    }
    return answer;
}

HRESULT CGraphHelper::RenderOutputPins(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter)
        return E_FAIL;
    bool anySucceeded = false;
    HRESULT last = E_FAIL;
    for (const qel::ComPtr<IPin>& pin : PinsOf(filter)) {
        qel::ComPtr<IPin> peer;
        if (pin->ConnectedTo(&peer) != VFW_E_NOT_CONNECTED || DirectionOf(pin.Get()) != PINDIR_OUTPUT)
            continue;
        last = graph->Render(pin.Get());
        anySucceeded = anySucceeded || SUCCEEDED(last);
    }
    return anySucceeded ? last : E_FAIL;
}

HRESULT CGraphHelper::BuildAsfGraph(const char* path, IGraphBuilder* graph, int mode, IBaseFilter* videoRenderer,
                                    IBaseFilter* audioRenderer) {
    if (!path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES || !graph)
        return ERROR_INVALID_PARAMETER;
    qel::ComPtr<IBaseFilter> reader;
    HRESULT hr = CoCreateInstance(qelclsid::kWmAsfReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(reader.GetAddressOf()));
    if (FAILED(hr)) {
        Log("Error %x: Cannot CoCreateInstance WMAsfReader filter", hr);
        return hr;
    }
    qel::ComPtr<IFileSourceFilter> fileSource;
    if (FAILED(hr = graph->AddFilter(reader.Get(), L"ASF Reader"))) {
        Log("Error %x: Cannot add the ASF Reader filter into graph", hr);
    } else if (FAILED(hr = reader.As(&fileSource))) {
        Log("Error %x: Cannot QueryInterface IFileSourceFilter for ASF Reader", hr);
    } else {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
        wide[MAX_PATH - 1] = 0;
        if (FAILED(hr = fileSource->Load(wide, nullptr)))
            Log("Error %x: Cannot load the source file", hr);
    }
    if (SUCCEEDED(hr)) {
        auto addRenderer = [&](IBaseFilter* renderer, const wchar_t* name) {
            if (renderer) {
                const HRESULT added = graph->AddFilter(renderer, name);
                if (FAILED(added))
                    Log("Error %x: Cannot add the renderer into graph", added);
            }
        };
        if (mode == 1 || mode == 2) {
            const bool audio = mode == 1;
            addRenderer(audio ? audioRenderer : videoRenderer, audio ? L"Audio Render" : L"Video Render");
            qel::ComPtr<IPin> pin = qel::TakeOver(FindPinByMediaType(reader.Get(), PINDIR_OUTPUT,
                                                           audio ? &MEDIATYPE_Audio : &MEDIATYPE_Video, nullptr, TRUE));
            if (!pin) {
                hr = E_FAIL;
                Log(audio ? "Error %x: Cannot get the audio output pin of the ASF Reader filter"
                          : "Error: Cannot get the video output pin of the ASF Reader filter", hr);
            } else if (FAILED(hr = graph->Render(pin.Get()))) {
                Log(audio ? "Error %x: Cannot render the audio output pin of the ASF Reader fiter"
                          : "Error %x: Cannot render the video output pin of the ASF Reader fiter", hr);
            }
        } else {
            addRenderer(videoRenderer, L"Video Render");
            addRenderer(audioRenderer, L"Audio Render");
            if (FAILED(hr = RenderOutputPins(graph, reader.Get())))
                Log("Error %x: Cannot render all the output pins of the ASF Reader fiter", hr);
        }
    }
    if (FAILED(hr)) {
        RemoveDownstream(graph, reader.Get());
        graph->RemoveFilter(reader.Get());
        RemoveUnconnectedFilters(graph);
        return hr;
    }
    return S_OK;
}
