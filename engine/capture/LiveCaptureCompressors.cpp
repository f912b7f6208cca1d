// Video and audio compressors: names, property pages, and choosing one (a video compressor only after a
// trial connection from the camera into an AVI multiplexer).
#include "LiveCaptureInternal.h"
#include "EnginePins.h"

#include <cwchar>

namespace {

const int kCompressorNameChars = 127;

// Friendly name of a compressor moniker, at most 127 characters.
HRESULT CompressorName(CLiveCapture& engine, IMoniker* moniker, WCHAR (&name)[kCompressorNameChars + 1]) {
    name[0] = 0;
    return engine.GetDeviceNameByMoniker(moniker, name, kCompressorNameChars + 1);
}

// The AVI multiplexer and a file writer on the capture file, as the capture graph builder makes them.
// For builders that cannot make the pair themselves.
HRESULT MakeAviWriterPair(IGraphBuilder* graph, const WCHAR* fileName, IBaseFilter** mux,
                          IFileSinkFilter** sink) {
    *mux = nullptr;
    *sink = nullptr;
    qel::ComPtr<IBaseFilter> newMux;
    qel::ComPtr<IBaseFilter> writer;
    qel::ComPtr<IFileSinkFilter> newSink;
    HRESULT hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &newMux);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(newMux.Get(), L"Mux");
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &writer);
    if (SUCCEEDED(hr))
        hr = writer->QueryInterface(IID_IFileSinkFilter, &newSink);
    if (SUCCEEDED(hr))
        hr = newSink->SetFileName(fileName, nullptr);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(writer.Get(), L"File Writer");
    if (SUCCEEDED(hr)) {
        const qel::ComPtr<IPin> muxOut = PinOf(newMux.Get(), PINDIR_OUTPUT);
        const qel::ComPtr<IPin> writerIn = PinOf(writer.Get(), PINDIR_INPUT);
        hr = (muxOut && writerIn) ? graph->ConnectDirect(muxOut.Get(), writerIn.Get(), nullptr) : E_FAIL;
    }
    if (FAILED(hr)) {
        if (newMux)
            graph->RemoveFilter(newMux.Get());
        if (writer)
            graph->RemoveFilter(writer.Get());
        return hr;
    }
    *mux = newMux.Detach();
    *sink = newSink.Detach();
    return hr;
}

} // namespace

int CLiveCapture::GetCprNum(DeviceType type) {
    return type == DEVICE_VIDEO ? m_nVideoCprCount : m_nAudioCprCount;
}

BOOL CLiveCapture::IsSupportsPropertyPage(IBaseFilter* filter) {
    if (!filter)
        return FALSE;
    qel::ComPtr<ISpecifyPropertyPages> pages;
    if (FAILED(filter->QueryInterface(IID_ISpecifyPropertyPages, &pages)))
        return FALSE;
    return TRUE;
}

BOOL CLiveCapture::GetCprCap(DeviceType type, int index, WCHAR* buffer, UINT length, int* hasPages) {
    if (!buffer || !hasPages)
        return FALSE;
    const bool video = type == DEVICE_VIDEO;
    const int count = video ? m_nVideoCprCount : m_nAudioCprCount;
    if (index < 0 || index >= count)
        return FALSE;
    IMoniker* moniker = video ? m_rgVideoCprMoniker[index] : m_rgAudioCprMoniker[index];
    if (!moniker)
        return FALSE;
    WCHAR name[kCompressorNameChars + 1];
    CompressorName(*this, moniker, name);
    // The buffer holds length + 1 characters.
    const size_t chars = wcslen(name);
    const size_t copied = chars <= length ? chars : length;
    wmemcpy(buffer, name, copied);
    buffer[copied] = 0;

    *hasPages = 0;
    qel::ComPtr<IBaseFilter> filter;
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, &filter);
    if (SUCCEEDED(m_hr)) {
        *hasPages = IsSupportsPropertyPage(filter.Get());
    }
    return TRUE;
}

void CLiveCapture::xRemoveCompressor(IBaseFilter** compressor, int* currentIndex) {
    if (*compressor && m_pGraph)
        m_pGraph->RemoveFilter(*compressor);
    SafeRelease(*compressor);
    *currentIndex = -1;
}

BOOL CLiveCapture::SetCprByIndex(DeviceType type, int index, int* hasPages) {
    const bool video = type == DEVICE_VIDEO;
    const int count = video ? m_nVideoCprCount : m_nAudioCprCount;
    if (index < -1 || index >= count)
        return FALSE;
    if (index == -1) {
        if (video)
            xRemoveCompressor(&m_pVideoCpr, &m_nCurVideoCpr);
        else
            xRemoveCompressor(&m_pAudioCpr, &m_nCurAudioCpr);
        if (hasPages)
            *hasPages = 0;
        return TRUE;
    }
    if (video)
        return xSetCurrentVideoCompressor(index, hasPages);

    IMoniker* moniker = m_rgAudioCprMoniker[index];
    if (!moniker)
        return FALSE;
    xRemoveCompressor(&m_pAudioCpr, &m_nCurAudioCpr);
    IBaseFilter* compressor = nullptr;
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&compressor));
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    WCHAR name[kCompressorNameChars + 1];
    CompressorName(*this, moniker, name);
    if (m_pGraph) {
        m_hr = m_pGraph->AddFilter(compressor, name);
        if (FAILED(m_hr))
            LIVECAP_LOG(this, m_hr);
    }
    m_pAudioCpr = compressor;
    m_nCurAudioCpr = index;
    if (hasPages)
        *hasPages = IsSupportsPropertyPage(compressor);
    return TRUE;
}

BOOL CLiveCapture::xSetCurrentVideoCompressor(int index, int* hasPages) {
    IMoniker* moniker = m_rgVideoCprMoniker[index];
    if (!moniker)
        return FALSE;
    qel::ComPtr<IBaseFilter> compressor;
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, &compressor);
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    // The trial connection needs the camera alone in a fresh graph.
    xStopCaptureForDeviceChange();
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    TearDownGraph();
    FreeCapFilters();
    const int camera = m_nCurVideoDevice;
    auto restorePreview = [&] {
        if (camera >= 0)
            SetUsedDeviceByIndex(DEVICE_VIDEO, camera);
    };
    if (InitCapFilters() != S_OK)
        return FALSE;
    qel::ComPtr<IBaseFilter> mux;
    qel::ComPtr<IFileSinkFilter> sink;
    m_hr = m_pBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, m_wszCaptureFile, &mux, &sink);
    if (m_hr == E_NOTIMPL)
        m_hr = MakeAviWriterPair(m_pGraph, m_wszCaptureFile, &mux, &sink);
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    m_pGraph->AddFilter(compressor.Get(), nullptr);
    m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter,
                                    compressor.Get(), mux.Get());
    if (FAILED(m_hr))
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter,
                                        compressor.Get(), mux.Get());
    const BOOL connected = SUCCEEDED(m_hr);
    if (!connected) {
        NukeDownstream(m_pGraph, mux.Get());
        m_pGraph->RemoveFilter(mux.Get());
        m_pGraph->RemoveFilter(compressor.Get());
        // The trial's filters go before the preview comes back.
        compressor.Reset();
        mux.Reset();
        sink.Reset();
        restorePreview();
        return FALSE;
    }
    NukeDownstream(m_pGraph, m_pVideoCapFilter);
    mux.Reset();
    sink.Reset();
    SafeRelease(m_pVideoCpr);
    m_pVideoCpr = compressor.Detach();
    m_nCurVideoCpr = index;
    if (hasPages)
        *hasPages = IsSupportsPropertyPage(m_pVideoCpr);
    restorePreview();
    return TRUE;
}

BOOL CLiveCapture::SetCprByName(DeviceType type, const WCHAR* name, int* index, int* hasPages) {
    if (!name)
        return SetCprByIndex(type, -1, hasPages);
    IMoniker** list = type == DEVICE_VIDEO ? m_rgVideoCprMoniker : m_rgAudioCprMoniker;
    for (int i = 0; i < MAX_COMPRESSORS; ++i) {
        if (!list[i])
            continue;
        WCHAR slotName[kCompressorNameChars + 1];
        if (SUCCEEDED(CompressorName(*this, list[i], slotName)) && wcscmp(slotName, name) == 0) {
            if (index)
                *index = i;
            return SetCprByIndex(type, i, hasPages);
        }
    }
    return FALSE;
}
