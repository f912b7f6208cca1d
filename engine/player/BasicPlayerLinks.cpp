// The copy's branch of the basic player: tees before the renderers, the AVI mux and file writer or
// the ASF writer, the optional compressor, and the copy's name. Every filter is checked before it
// is wired, so that a missing one fails its link before anything is taken apart.
#include "AsfBuilder.h"
#include "AsfWriterConfig.h"
#include "BasicPlayer.h"
#include "BasicPlayerInternal.h"
#include "EngineCom.h"
#include "EngineTrace.h"
#include "GraphSplice.h"
#include "EnginePins.h"
#include "RendererSplice.h"

#include <cstdlib>
#include <cstring>

using qel::ComPtr;

int CBasicPlayer::AddNamed(IBaseFilter* filter, const WCHAR* name) {
    return filter && m_pGraph && SUCCEEDED(m_pGraph->AddFilter(filter, name)) ? 1 : 0;
}

IPin* CBasicPlayer::GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index) {
    return filter ? PinOf(filter, direction, index).Detach() : nullptr;
}

HRESULT CBasicPlayer::LinkTwoFilter(IGraphBuilder* graph, IBaseFilter* up, int upPin, IBaseFilter* down, int downPin) {
    if (!graph || !up || !down)
        return E_NOINTERFACE;
    const ComPtr<IPin> out = PinOf(up, PINDIR_OUTPUT, upPin);
    if (!out)
        return S_FALSE;
    const ComPtr<IPin> in = PinOf(down, PINDIR_INPUT, downPin);
    if (!in)
        return S_FALSE;
    graph->Disconnect(in.Get());
    graph->Disconnect(out.Get());
    return graph->Connect(out.Get(), in.Get());
}

IBaseFilter* CBasicPlayer::RendererByName(IGraphBuilder* graph, const char* name, const char* failureText) {
    if (!graph)
        return nullptr;
    for (const ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        if (FilterNameContains(filter.Get(), name)) {
            IBaseFilter* found = filter.Get();
            found->AddRef();
            return found;
        }
    }
    EngineTrace(failureText);
    return nullptr;
}

IBaseFilter* CBasicPlayer::GetVdoRenderFilter(IGraphBuilder* graph) {
    return RendererByName(graph, "Video Renderer", "To get Video Render is fail");
}

IBaseFilter* CBasicPlayer::GetAdoRenderFilter(IGraphBuilder* graph) {
    return RendererByName(graph, "Default DirectSound Device", "To get Audio Render is fail");
}

int CBasicPlayer::LinkToVdoRender(IBaseFilter* renderer, IBaseFilter* filter, int outPin) {
    if (!renderer || !filter || !m_pGraph)
        return 0;
    // Checked before the renderer is taken off its feed.
    const ComPtr<IPin> filterIn = PinOf(filter, PINDIR_INPUT, 0);
    if (!filterIn) {
        EngineTrace("Can't gee filter input pin");
        return 0;
    }
    const ComPtr<IPin> rendererIn = PinOf(renderer, PINDIR_INPUT, 0);
    const ComPtr<IPin> upstream = PeerOf(rendererIn.Get());
    if (!rendererIn || !upstream || m_pGraph->Disconnect(rendererIn.Get()) != S_OK ||
        m_pGraph->Disconnect(upstream.Get()) != S_OK) {
        EngineTrace("Can't Disconnect Render Pin");
        return 0;
    }
    if (m_pGraph->Connect(upstream.Get(), filterIn.Get()) != S_OK) {
        EngineTrace("Can't get video render In/Out pin");
        m_pGraph->Connect(upstream.Get(), rendererIn.Get());
        return 0;
    }
    if (LinkTwoFilter(m_pGraph, filter, outPin, renderer, 0) != S_OK) {
        EngineTrace("Filter link to video render is fail");
        return 0;
    }
    return 1;
}

void CBasicPlayer::TakeOutCopyTee(IBaseFilter* tee, IBaseFilter* renderer) {
    if (!tee || !m_pGraph)
        return;
    FILTER_INFO info = {};
    if (FAILED(tee->QueryFilterInfo(&info)))
        return;
    const bool inGraph = info.pGraph != nullptr;
    SafeRelease(info.pGraph);
    if (!inGraph)
        return;
    const ComPtr<IPin> rendererIn = renderer ? PinOf(renderer, PINDIR_INPUT, 0) : nullptr;
    const ComPtr<IPin> feed = PeerOf(rendererIn.Get());
    PIN_INFO feedInfo = {};
    if (feed && SUCCEEDED(feed->QueryPinInfo(&feedInfo))) {
        const bool teeFeedsRenderer = feedInfo.pFilter == tee;
        SafeRelease(feedInfo.pFilter);
        // The tee carries the picture now: without it the movie would not play on.
        if (teeFeedsRenderer)
            return;
    }
    const ComPtr<IPin> upstream = PeerOf(PinOf(tee, PINDIR_INPUT, 0).Get());
    m_pGraph->RemoveFilter(tee);
    // A splice that failed half-way left the renderer without its feed: what fed the tee feeds it again.
    if (rendererIn && !feed && upstream && m_pGraph->Connect(upstream.Get(), rendererIn.Get()) != S_OK)
        EngineTrace("Can't relink video render");
}

int CBasicPlayer::RelinkAudioFilter(IBaseFilter* audioPinTee, IBaseFilter* sink) {
    // Both checked before the audio renderer is unhooked.
    if (!audioPinTee || !sink || !m_pGraph)
        return 0;
    SafeRelease(m_pAudioRender);
    m_pAudioRender = GetAdoRenderFilter(m_pGraph);
    if (!m_pAudioRender)
        return 0;
    const ComPtr<IPin> teeIn = PinOf(audioPinTee, PINDIR_INPUT, 0);
    const ComPtr<IPin> rendererIn = PinOf(m_pAudioRender, PINDIR_INPUT, 0);
    const ComPtr<IPin> upstream = PeerOf(rendererIn.Get());
    if (!teeIn || !upstream)
        return 0;
    m_pGraph->Disconnect(rendererIn.Get());
    m_pGraph->Disconnect(upstream.Get());
    if (m_pGraph->Connect(upstream.Get(), teeIn.Get()) != S_OK) {
        EngineTrace("Can't get audio render In/Out pin");
        m_pGraph->Connect(upstream.Get(), rendererIn.Get());
        return 0;
    }
    if (LinkTwoFilter(m_pGraph, audioPinTee, 0, m_pAudioRender, 0) != S_OK) {
        EngineTrace("Pin tee link to Audio render is fail");
        return 0;
    }
    if (LinkTwoFilter(m_pGraph, audioPinTee, 1, sink, 0) != S_OK) {
        EngineTrace("Pin tee link to FileWriter is fail");
        return 0;
    }
    return 1;
}

int CBasicPlayer::LinkInfPinTee() {
    ComPtr<IBaseFilter> found;
    if (!AddNamed(m_pVideoPinTee, L"Video Pin Tee") ||
        FAILED(m_pGraph->FindFilterByName(L"Video Pin Tee", &found)) || !found) {
        EngineTrace("Add Pin Tee is fail");
        return 0;
    }
    SafeRelease(m_pVideoPinTee);
    m_pVideoPinTee = found.Detach();
    SafeRelease(m_pVideoRender);
    m_pVideoRender = GetVdoRenderFilter(m_pGraph);
    if (!m_pVideoRender)
        return 1;
    return LinkToVdoRender(m_pVideoRender, m_pVideoPinTee, 0);
}

int CBasicPlayer::LinkAVIFileWriter(CString name) {
    if (!m_pGraph || !m_pAviMux || !m_pFileWriter || !m_pAudioPinTee || !m_pVideoPinTee)
        return 0;
    AddNamed(m_pAviMux, L"AviMux");
    AddNamed(m_pFileWriter, L"FileWriter");
    AddNamed(m_pAudioPinTee, L"Audio Pin Tee");
    m_bAudioLinked = RelinkAudioFilter(m_pAudioPinTee, m_pAviMux);
    if (m_pAviCompressor) {
        AddNamed(m_pAviCompressor, L"AVI Compressor");
        if (m_bCompressorLinked && !LinkAviCompressor())
            return 0;
    }
    if (!m_bCompressorLinked && LinkTwoFilter(m_pGraph, m_pVideoPinTee, 1, m_pAviMux, m_bAudioLinked ? 1 : 0) < 0) {
        EngineTrace("Inf Pin Tee link to Avi Mux is fail");
        return 0;
    }
    if (LinkTwoFilter(m_pGraph, m_pAviMux, 0, m_pFileWriter, 0) < 0) {
        EngineTrace("Avi Mux link to file writer is fail");
        return 0;
    }
    m_strTempMovName = SetTempMovName(name);
    return m_strTempMovName.IsEmpty() ? 0 : 1;
}

int CBasicPlayer::AddAboutAsfFilter() {
    AddNamed(m_pSmartTee, L"SmartTee");
    if (!m_pAudioPinTee || !m_pGraph || m_pGraph->AddFilter(m_pAudioPinTee, L"Audio Pin Tee") != S_OK) {
        EngineTrace("Add about asf filter is fail");
        return 0;
    }
    return 1;
}

int CBasicPlayer::LinkAsfWriter(CString name) {
    // The writer is asked for its interfaces below: without one there is no copy to make.
    if (!m_pAsfWriter || !m_pSmartTee || !m_pGraph)
        return 0;
    AddNamed(m_pAsfWriter, L"AsfWriter");
    ConfigAsfWriter();
    RelinkAudioFilter(m_pAudioPinTee, m_pAsfWriter);
    SafeRelease(m_pVideoRender);
    m_pVideoRender = GetVdoRenderFilter(m_pGraph);
    if (m_pVideoRender && !LinkToVdoRender(m_pVideoRender, m_pSmartTee, 1))
        return 0;
    if (LinkTwoFilter(m_pGraph, m_pSmartTee, 0, m_pAsfWriter, 1) != S_OK) {
        EngineTrace(" smart tee link to Asfwriter is fail");
        return 0;
    }
    m_strTempMovName = SetTempMovName(name);
    return m_strTempMovName.IsEmpty() ? 0 : 1;
}

int CBasicPlayer::ConfigAsfWriter() {
    ComPtr<IConfigAsfWriter> config;
    if (!m_pAsfWriter || FAILED(m_pAsfWriter->QueryInterface(IID_IConfigAsfWriter, &config)))
        return 1;
    CAsfBuilder builder;
    builder.CheckWMFVersion();
    HRESULT hr = builder.SetUseWMFVersion(0x800);
    if (hr != 0)
        return hr;
    ComPtr<IWMProfile> profile;
    if ((hr = builder.SetProfileNum(12, profile.ReleaseAndGetAddressOf())) != 0) {
        MessageBoxA(nullptr, "Set system profile error !", "warn", MB_OK);
        return hr;
    }
    if ((hr = builder.SetASFFormat(profile.Get(), m_lVideoWidth, m_lVideoHeight, 100)) != 0) {
        MessageBoxA(nullptr, "Set frame size fail !", "warn", MB_OK);
        return hr;
    }
    if ((hr = config->ConfigureFilterUsingProfile(profile.Get())) != 0)
        return hr;
    return 1;
}

int CBasicPlayer::CreateAviCompressor() {
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, &monikers, 0) != S_OK || !monikers)
        return 0;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))))
            continue;
        VARIANT value;
        VariantInit(&value);
        char name[256] = {0};
        if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR)
            WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, name, sizeof name - 1, nullptr, nullptr);
        VariantClear(&value);
        if (std::strstr(name, "Compression Filter") && std::strstr(name, "IndeoR video")) {
            SafeRelease(m_pAviCompressor);
            if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                             reinterpret_cast<void**>(&m_pAviCompressor)))) {
                m_pAviCompressor = nullptr;
                return 0;
            }
            break;
        }
    }
    return 1;
}

int CBasicPlayer::LinkAviCompressor() {
    if (!m_pAviCompressor || !m_pAviMux || !m_pVideoPinTee)
        return 0;
    if (LinkTwoFilter(m_pGraph, m_pVideoPinTee, 1, m_pAviCompressor, 0) < 0) {
        EngineTrace("Pin tee link to Avi Compressor is fail");
        return 0;
    }
    if (LinkTwoFilter(m_pGraph, m_pAviCompressor, 0, m_pAviMux, m_bAudioLinked != 0 ? 1 : 0) < 0) {
        EngineTrace("Avi Compressor link to Avi Mux is fail");
        return 0;
    }
    m_bCompressorLinked = 1;
    return 1;
}

int CBasicPlayer::UnLinkAviCompressor() {
    if (!m_pAviCompressor || !m_pGraph)
        return 0;
    const ComPtr<IPin> compressorIn = PinOf(m_pAviCompressor, PINDIR_INPUT, 0);
    const ComPtr<IPin> teeOut = PeerOf(compressorIn.Get());
    const ComPtr<IPin> compressorOut = PinOf(m_pAviCompressor, PINDIR_OUTPUT, 0);
    const ComPtr<IPin> muxIn = PeerOf(compressorOut.Get());
    if (!compressorIn || !teeOut || !compressorOut || !muxIn)
        return 0;
    m_pGraph->Disconnect(compressorIn.Get());
    m_pGraph->Disconnect(teeOut.Get());
    m_pGraph->Disconnect(compressorOut.Get());
    m_pGraph->Disconnect(muxIn.Get());
    if (m_pGraph->Connect(teeOut.Get(), muxIn.Get()) < 0) {
        EngineTrace("Unlink Avi Compressor is fail");
        return 0;
    }
    m_bCompressorLinked = 0;
    return 1;
}

void CBasicPlayer::SetCopyName(IBaseFilter* sink, const CString& name) {
    ComPtr<IFileSinkFilter> fileSink;
    if (!sink || FAILED(sink->QueryInterface(IID_PPV_ARGS(&fileSink))))
        return;
    WCHAR wide[MAX_PATH] = {0};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH - 1);
    fileSink->SetFileName(wide, nullptr);
}

CString CBasicPlayer::SetTempMovName(CString name) {
    if (name.IsEmpty())
        return CString();
    char drive[_MAX_DRIVE] = {0}, folder[_MAX_DIR] = {0}, base[_MAX_FNAME] = {0}, extension[_MAX_EXT] = {0};
    if (_splitpath_s(static_cast<LPCSTR>(name), drive, sizeof drive, folder, sizeof folder, base, sizeof base,
                     extension, sizeof extension) != 0)
        return CString();
    CString composed(drive);
    composed += folder;
    composed += base;
    composed += "_Apply";
    composed += m_bAviFile ? extension : ".asf";
    // The writers take at most MAX_PATH - 1 characters: a longer name means no copy.
    if (composed.GetLength() > MAX_PATH - 1)
        return CString();
    SetCopyName(m_bAviFile ? m_pFileWriter : m_pAsfWriter, composed);
    return composed;
}
