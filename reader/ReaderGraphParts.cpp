#include "ReaderGraphParts.h"

#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderClsids.h"

namespace readerparts {

qel::ComPtr<IBaseFilter> CreateFilter(REFCLSID clsid, HRESULT* hr) {
    qel::ComPtr<IBaseFilter> filter;
    const HRESULT made = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                          reinterpret_cast<void**>(filter.GetAddressOf()));
    if (hr)
        *hr = made;
    if (FAILED(made))
        filter.Reset();
    return filter;
}

qel::ComPtr<IBaseFilter> AddNewFilter(IGraphBuilder* graph, REFCLSID clsid, const wchar_t* name, HRESULT* hr) {
    HRESULT result = E_FAIL;
    qel::ComPtr<IBaseFilter> filter = CreateFilter(clsid, &result);
    if (filter && FAILED(result = graph->AddFilter(filter.Get(), name)))
        filter.Reset();
    if (hr)
        *hr = result;
    return filter;
}

HRESULT AddGrabber(IGraphBuilder* graph, bool video, const wchar_t* name, qel::ComPtr<IBaseFilter>* filter,
                   qel::ComPtr<ISampleGrabber>* grabber) {
    HRESULT hr = E_FAIL;
    if (video)
        *filter = CreateFilter(qelclsid::kOutsideSampleGrabber, &hr);
    if (!*filter)
        *filter = CreateFilter(qelclsid::kSampleGrabber, &hr);
    CGraphHelper& log = ReaderGraphHelper();
    if (!*filter) {
        log.Log(video ? "Error %x: Cannot CoCreateInstance Sample Grabber for video"
                      : "Error %x: Cannot CoCreateInstance Sample Grabber for audio", hr);
        return hr;
    }
    if (FAILED(hr = filter->As(grabber))) {
        log.Log("Error %x: Cannot QueryInterface ISampleGrabber", hr);
        return hr;
    }
    AM_MEDIA_TYPE type = {};
    type.majortype = video ? MEDIATYPE_Video : MEDIATYPE_Audio;
    type.subtype = video ? MEDIASUBTYPE_RGB24 : MEDIASUBTYPE_PCM;
    if (FAILED(hr = (*grabber)->SetMediaType(&type))) {
        log.Log(video ? "Error %x: Cannot set the ISampleGrabber RGB24 format"
                      : "Error %x: Cannot set the ISampleGrabber audio format", hr);
        return hr;
    }
    if (FAILED(hr = graph->AddFilter(filter->Get(), name)))
        log.Log("Error %x: Cannot add the Sample Grabber into graph", hr);
    return hr;
}

HRESULT AddGrabberAndSink(IGraphBuilder* graph, bool video, qel::ComPtr<IBaseFilter>* grabberFilter,
                          qel::ComPtr<ISampleGrabber>* grabber, qel::ComPtr<IBaseFilter>* sink) {
    HRESULT hr = AddGrabber(graph, video, video ? L"Sample Grabber(V)" : L"Sample Grabber(A)", grabberFilter, grabber);
    if (FAILED(hr))
        return hr;
    CGraphHelper& log = ReaderGraphHelper();
    *sink = CreateFilter(qelclsid::kNullRenderer, &hr);
    if (!*sink) {
        log.Log(video ? "Error %x: Cannot CoCreateInstance Null Render for Video" : "Error %x: Cannot CoCreateInstance Null Render for Audio", hr);
        return hr;
    }
    if (FAILED(hr = graph->AddFilter(sink->Get(), video ? L"Video Null Render" : L"Audio Null Render")))
        log.Log(video ? "Error %x: Cannot add the Video Null Render into graph" : "Error %x: Cannot add the Audio Null Render into graph", hr);
    return hr;
}

HRESULT RenderThrough(ICaptureGraphBuilder2* builder, IGraphBuilder* graph, IUnknown* feed, const GUID* mediaType,
                      IBaseFilter* grabber, IBaseFilter* sink) {
    HRESULT hr = builder->RenderStream(nullptr, mediaType, feed, grabber, sink);
    if (SUCCEEDED(hr))
        return hr;
    // Wine's builder refuses some sources; connecting the chain directly gives the same graph.
    qel::ComPtr<IPin> from;
    if (FAILED(feed->QueryInterface(IID_IPin, reinterpret_cast<void**>(from.GetAddressOf())))) {
        qel::ComPtr<IBaseFilter> filter;
        if (FAILED(feed->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(filter.GetAddressOf()))))
            return hr;
        from = qel::TakeOver(ReaderGraphHelper().FindPinByMediaType(filter.Get(), PINDIR_OUTPUT, mediaType, nullptr, TRUE));
        if (!from)
            return hr;
    }
    CGraphHelper& helper = ReaderGraphHelper();
    IBaseFilter* chain[2] = {grabber, sink};
    for (IBaseFilter* next : chain) {
        if (!next)
            continue;
        qel::ComPtr<IPin> in;
        if (FAILED(helper.GetPin(next, PINDIR_INPUT, &in)))
            return hr;
        const HRESULT connected = graph->Connect(from.Get(), in.Get());
        if (FAILED(connected))
            return connected;
        from.Reset();
        if (next == sink || FAILED(helper.GetPin(next, PINDIR_OUTPUT, &from)))
            break;
    }
    return S_OK;
}

bool HasClass(IBaseFilter* filter, REFCLSID clsid) {
    CLSID actual = GUID_NULL;
    return filter && SUCCEEDED(filter->GetClassID(&actual)) && actual == clsid;
}

qel::ComPtr<IPin> UpstreamOfFirstInput(IBaseFilter* filter, qel::ComPtr<IPin>* input) {
    qel::ComPtr<IPin> in, out;
    if (FAILED(ReaderGraphHelper().GetPin(filter, PINDIR_INPUT, &in)))
        return nullptr;
    if (FAILED(in->ConnectedTo(&out)))
        out.Reset();
    if (input)
        *input = in;
    return out;
}

qel::ComPtr<IBaseFilter> OwnerOf(IPin* pin) {
    PIN_INFO info = {};
    if (!pin || FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return qel::TakeOver(info.pFilter);
}

void FreeMediaType(AM_MEDIA_TYPE& type) {
    if (type.cbFormat && type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk)
        type.pUnk->Release();
    type.pUnk = nullptr;
}

void WidePath(const char* path, wchar_t (&wide)[MAX_PATH]) {
    wide[0] = 0;
    MultiByteToWideChar(CP_ACP, 0, path ? path : "", -1, wide, MAX_PATH);
    wide[MAX_PATH - 1] = 0;
}

void DrainEvents(IMediaEvent* events) {
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (events && events->GetEvent(&code, &first, &second, 0) == S_OK)
        events->FreeEventParams(code, first, second);
}

bool WaitForGraphEnd(IMediaEvent* events, long limitMs) {
    if (!events)
        return false;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(limitMs);
    while (GetTickCount64() < until) {
        long code = 0;
        LONG_PTR first = 0, second = 0;
        if (events->GetEvent(&code, &first, &second, 50) != S_OK)
            continue;
        events->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT)
            return true;
    }
    return false;
}

HRESULT RunWithoutClock(IGraphBuilder* graph) {
    qel::ComPtr<IMediaFilter> filter;
    HRESULT hr = graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(filter.GetAddressOf()));
    if (SUCCEEDED(hr))
        hr = filter->SetSyncSource(nullptr);
    return hr;
}

} // namespace readerparts
