#include "AviMuxSink.h"

#include "EngineCom.h"
#include "EnginePins.h"
#include "file_sink.h"
#include "VostrelTestSeams.h"

namespace {

HRESULT CreatePlatformAviMux(IBaseFilter** mux) {
    return CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(mux));
}

#ifdef QEL_TEST_SEAMS
AviMuxCreator g_muxCreator = CreatePlatformAviMux;
#else
constexpr AviMuxCreator g_muxCreator = CreatePlatformAviMux;
#endif

} // namespace

#ifdef QEL_TEST_SEAMS
AviMuxCreator SetAviMuxCreator(AviMuxCreator creator) {
    const AviMuxCreator previous = g_muxCreator;
    g_muxCreator = creator ? creator : CreatePlatformAviMux;
    return previous;
}
#endif

HRESULT BuildAviMuxWithSink(IGraphBuilder* graph, const WCHAR* file, IBaseFilter** mux, IFileSinkFilter** sink) {
    if (!graph || !mux || !sink)
        return E_POINTER;
    *mux = nullptr;
    *sink = nullptr;
    qel::ComPtr<IBaseFilter> newMux;
    qel::ComPtr<IBaseFilter> writer;
    qel::ComPtr<IFileSinkFilter> newSink;
    HRESULT hr = g_muxCreator(newMux.GetAddressOf());
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(newMux.Get(), L"Mux");
    if (SUCCEEDED(hr))
        hr = CreateQelFileSink(writer.GetAddressOf());
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(writer.Get(), L"File Writer");
    if (SUCCEEDED(hr))
        hr = writer->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(newSink.GetAddressOf()));
    if (SUCCEEDED(hr))
        hr = newSink->SetFileName(file, nullptr);
    if (SUCCEEDED(hr)) {
        const qel::ComPtr<IPin> muxOut = PinOf(newMux.Get(), PINDIR_OUTPUT);
        const qel::ComPtr<IPin> sinkIn = PinOf(writer.Get(), PINDIR_INPUT);
        hr = muxOut && sinkIn ? graph->ConnectDirect(muxOut.Get(), sinkIn.Get(), nullptr) : E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        qel::ComPtr<IConfigInterleaving> interleaving;
        hr = newMux->QueryInterface(IID_IConfigInterleaving, reinterpret_cast<void**>(interleaving.GetAddressOf()));
        if (SUCCEEDED(hr))
            hr = interleaving->put_Mode(INTERLEAVE_FULL);
    }
    if (FAILED(hr)) {
        if (writer)
            graph->RemoveFilter(writer.Get());
        if (newMux)
            graph->RemoveFilter(newMux.Get());
        return hr;
    }
    *mux = newMux.Detach();
    *sink = newSink.Detach();
    return S_OK;
}
