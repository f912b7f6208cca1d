// The file player's mix filters: the text overlay and the low-light plug-in, each spliced once per
// graph immediately before the "Video Renderer". A splice holds the graph stopped and restores its
// position; one that cannot complete leaves the graph as it found it.
#include "GraphBuilder.h"

#include <afxwin.h>

#include "EngineCom.h"
#include "GraphSplice.h"
#include "MixInfo.h"
#include "OutsideFilters.h"
#include "EnginePins.h"
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "RendererSplice.h"

using qel::ComPtr;

namespace {

constexpr char kNoRendererPinText[] = "Failed to get video Renderer input pin";

void ShowMixMessage(const char* text) { AfxMessageBox(text, MB_OK); }

OAFilterState StateOf(IGraphBuilder* graph) {
    ComPtr<IMediaControl> control;
    OAFilterState state = State_Stopped;
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&control))))
        control->GetState(INFINITE, &state);
    return state;
}

void PauseGraph(IGraphBuilder* graph) {
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&control))))
        control->Pause();
}

const char* LowLightSpliceText(RendererSpliceStep step) {
    switch (step) {
    case RendererSpliceStep::kAdd: return "Failed to add LowLight Filter to the Graph";
    case RendererSpliceStep::kPins: return "Failed to get pins of LowLight";
    case RendererSpliceStep::kDisconnectInput: return "Failed to disconnect input pin of rendrer";
    case RendererSpliceStep::kDisconnectUpstream: return "Failed to disconnect the output pin where rendrer was connected";
    case RendererSpliceStep::kConnectInput: return "Failed to Connect to the input pin of LowLight";
    case RendererSpliceStep::kConnectOutput: return "Failed to Connect to the output pin of LowLight to input of renderer";
    case RendererSpliceStep::kNone: break;
    }
    return nullptr;
}

} // namespace

HRESULT CGraphBuilder::InitFilter() {
    HRESULT hr = 0;
    if (!m_pTextMix) {
        hr = CreateTextMixFilter(&m_pTextMix);
        if (FAILED(hr)) {
            m_pTextMix = nullptr;
            ShowMixMessage(kTextMixCreateFailedText);
            return 1;
        }
    }
    if (!m_pColorSpace) {
        hr = CoCreateInstance(CLSID_Colour, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                              reinterpret_cast<void**>(&m_pColorSpace));
        if (FAILED(hr)) {
            m_pColorSpace = nullptr;
            ShowMixMessage("Failed to create Color Space Filter");
            return 1;
        }
    }
    return hr;
}

HRESULT CGraphBuilder::AppendTextMixInfo(CTextMixInfo* info) {
    if (!info)
        return 1;
    InitFilter();
    if (!m_pTextMix)
        return 1;
    TextMixSetMixInfo(m_pTextMix, info, FALSE);
    const HRESULT hr = ApplyTextMixFilter();
    if (hr != 0 && hr != 1)
        Fail(hr);
    return hr;
}

HRESULT CGraphBuilder::ApplyTextMixFilter() {
    if (m_bTextMixApplied)
        return 0;
    if (!m_pGraph || !m_pTextMix)
        return 1;
    {
        StoppedGraph stopped(m_pGraph);
        // Looked for before anything is added: without a renderer there is nowhere to splice.
        const ComPtr<IPin> rendererIn = NamedFilterInput(m_pGraph, "Video Renderer");
        if (!rendererIn) {
            ShowMixMessage(kNoRendererPinText);
            return 1;
        }
        GraphSplice splice(m_pGraph, [](HRESULT) {});
        HRESULT hr = m_pGraph->AddFilter(m_pTextMix, kTextMixGraphName);
        // Without a converter (the platform may lack it) the overlay feeds the renderer directly.
        if (SUCCEEDED(hr) && m_pColorSpace)
            hr = m_pGraph->AddFilter(m_pColorSpace, L"ColorSpace");
        if (FAILED(hr))
            return hr;
        const ComPtr<IPin> overlayIn = PinOf(m_pTextMix, PINDIR_INPUT);
        const ComPtr<IPin> overlayOut = PinOf(m_pTextMix, PINDIR_OUTPUT);
        const ComPtr<IPin> converterIn = m_pColorSpace ? PinOf(m_pColorSpace, PINDIR_INPUT) : nullptr;
        const ComPtr<IPin> converterOut = m_pColorSpace ? PinOf(m_pColorSpace, PINDIR_OUTPUT) : nullptr;
        if (!overlayIn || !overlayOut)
            return E_FAIL;
        const ComPtr<IPin> upstream = PeerOf(rendererIn.Get());
        SpliceStep step = SpliceStep::kNone;
        if (FAILED(hr = splice.TakeApart(rendererIn.Get(), &step)))
            return hr;
        if (!upstream)
            return E_POINTER;
        if (FAILED(hr = ConnectPins(m_pGraph, upstream.Get(), overlayIn.Get())))
            return hr;
        if (converterIn && converterOut && SUCCEEDED(ConnectPins(m_pGraph, overlayOut.Get(), converterIn.Get())))
            hr = ConnectPins(m_pGraph, converterOut.Get(), rendererIn.Get());
        else
            hr = ConnectPins(m_pGraph, overlayOut.Get(), rendererIn.Get());
        if (FAILED(hr))
            return hr;
        splice.Commit();
    }
    m_bTextMixApplied = TRUE;
    return 0;
}

BOOL CGraphBuilder::CreateVideoMavixFilters() {
    if (m_pLowLight)
        return TRUE;
    if (SUCCEEDED(CoCreateInstance(CLSID_QelFilter_LowLight, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&m_pLowLight))))
        return TRUE;
    m_pLowLight = nullptr;
    ShowMixMessage("Failed to create LowLight Filter");
    return FALSE;
}

BOOL CGraphBuilder::ApplyLowLight() {
    if (m_bLowLightApplied)
        return 1;
    // Nothing to splice into yet: the attempt is not used up.
    if (!m_pGraph)
        return 0;
    // Set before any step: a failed attempt is not repeated.
    m_bLowLightApplied = TRUE;
    const OAFilterState state = StateOf(m_pGraph);
    {
        StoppedGraph stopped(m_pGraph);
        Sleep(500);
        const ComPtr<IPin> rendererIn = NamedFilterInput(m_pGraph, "Video Renderer");
        if (!rendererIn) {
            ShowMixMessage(kNoRendererPinText);
            return 0;
        }
        HRESULT hr = S_OK;
        const RendererSpliceStep step =
            m_pLowLight ? SpliceBeforeRenderer(m_pGraph, m_pLowLight, L"Q&LLowLight", rendererIn.Get(), &hr)
                        : RendererSpliceStep::kAdd;
        if (step != RendererSpliceStep::kNone) {
            ShowMixMessage(LowLightSpliceText(step));
            if (state == State_Paused)
                PauseGraph(m_pGraph);
            return 0;
        }
        // Spliced in switched off; LowLightLevel switches it.
        ComPtr<IQelFilterParams> params;
        if (SUCCEEDED(m_pLowLight->QueryInterface(IID_IQelFilterParams, &params)) && FAILED(params->Enable(FALSE))) {
            ShowMixMessage("Failed to set FilterPercent first");
            return 0;
        }
    }
    if (state != State_Running)
        PauseGraph(m_pGraph);
    return 1;
}

int CGraphBuilder::LowLightLevel(int on, int level) {
    if (!m_pGraph)
        return m_nLowLightLevel;
    ComPtr<IMediaControl> control;
    if (FAILED(m_pGraph->QueryInterface(IID_PPV_ARGS(&control))))
        return m_nLowLightLevel;
    OAFilterState state = State_Stopped;
    control->GetState(INFINITE, &state);
    control->Stop();
    ComPtr<IQelStrengthParams> params;
    if (m_pLowLight && SUCCEEDED(m_pLowLight->QueryInterface(IID_IQelFilterParams, &params))) {
        params->Enable(on);
        if (on) {
            if (level >= 0 && level <= 100)
                m_nLowLightLevel = level;
            params->SetStrength(m_nLowLightLevel);
        }
    }
    if (state == State_Running)
        control->Run();
    else
        control->Pause();
    return m_nLowLightLevel;
}

int CGraphBuilder::AppendMavixMixInfo(CMavixMixInfo* info, int on) {
    if (!info)
        return 1;
    if (!m_pLowLight && !CreateVideoMavixFilters())
        return 1;
    if (!m_bLowLightApplied)
        ApplyLowLight();
    LowLightLevel(on, info->m_nLevel);
    return 0;
}
