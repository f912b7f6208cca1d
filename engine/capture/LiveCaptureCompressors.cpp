// Video and audio compressors: names, property pages, and choosing one (a video compressor only after a
// trial connection from the camera into an AVI multiplexer).
#include "LiveCaptureInternal.h"

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
    IBaseFilter* writer = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(mux));
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(*mux, L"Mux");
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                              reinterpret_cast<void**>(&writer));
    if (SUCCEEDED(hr))
        hr = writer->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(sink));
    if (SUCCEEDED(hr))
        hr = (*sink)->SetFileName(fileName, nullptr);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(writer, L"File Writer");
    if (SUCCEEDED(hr)) {
        IEnumPins* pins = nullptr;
        IPin* muxOut = nullptr;
        IPin* writerIn = nullptr;
        if (SUCCEEDED((*mux)->EnumPins(&pins))) {
            IPin* pin = nullptr;
            while (!muxOut && pins->Next(1, &pin, nullptr) == S_OK) {
                PIN_DIRECTION direction;
                if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT)
                    muxOut = pin;
                else
                    pin->Release();
            }
            pins->Release();
        }
        if (SUCCEEDED(writer->EnumPins(&pins))) {
            pins->Next(1, &writerIn, nullptr);
            pins->Release();
        }
        hr = (muxOut && writerIn) ? graph->ConnectDirect(muxOut, writerIn, nullptr) : E_FAIL;
        SafeRelease(muxOut);
        SafeRelease(writerIn);
    }
    if (FAILED(hr)) {
        if (*mux)
            graph->RemoveFilter(*mux);
        if (writer)
            graph->RemoveFilter(writer);
        SafeRelease(*mux);
        SafeRelease(*sink);
    }
    SafeRelease(writer);
    return hr;
}

} // namespace

int CLiveCapture::GetCprNum(DeviceType type) {
    return type == DEVICE_VIDEO ? m_nVideoCprCount : m_nAudioCprCount;
}

BOOL CLiveCapture::IsSupportsPropertyPage(IBaseFilter* filter) {
    if (!filter)
        return FALSE;
    ISpecifyPropertyPages* pages = nullptr;
    if (FAILED(filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages))))
        return FALSE;
    pages->Release();
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
    IBaseFilter* filter = nullptr;
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    if (SUCCEEDED(m_hr)) {
        *hasPages = IsSupportsPropertyPage(filter);
        filter->Release();
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
    IBaseFilter* compressor = nullptr;
    m_hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&compressor));
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
    if (InitCapFilters() != S_OK) {
        compressor->Release();
        return FALSE;
    }
    IBaseFilter* mux = nullptr;
    IFileSinkFilter* sink = nullptr;
    m_hr = m_pBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, m_wszCaptureFile, &mux, &sink);
    if (m_hr == E_NOTIMPL)
        m_hr = MakeAviWriterPair(m_pGraph, m_wszCaptureFile, &mux, &sink);
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        compressor->Release();
        return FALSE;
    }
    m_pGraph->AddFilter(compressor, nullptr);
    m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter,
                                    compressor, mux);
    if (FAILED(m_hr))
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter,
                                        compressor, mux);
    const BOOL connected = SUCCEEDED(m_hr);
    if (!connected) {
        NukeDownstream(m_pGraph, mux);
        m_pGraph->RemoveFilter(mux);
        m_pGraph->RemoveFilter(compressor);
        compressor->Release();
        mux->Release();
        SafeRelease(sink);
        restorePreview();
        return FALSE;
    }
    NukeDownstream(m_pGraph, m_pVideoCapFilter);
    mux->Release();
    SafeRelease(sink);
    SafeRelease(m_pVideoCpr);
    m_pVideoCpr = compressor;
    m_nCurVideoCpr = index;
    if (hasPages)
        *hasPages = IsSupportsPropertyPage(compressor);
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
