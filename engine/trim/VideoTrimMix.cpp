// The two mix overlays: the text overlay and the low-light plug-in, set per clip and spliced in front
// of the video renderer of a running graph.
#include "VideoTrim.h"

#include <afxwin.h>

#include "EngineCom.h"
#include "GraphSplice.h"
#include "NamedFilterPin.h"
#include "OutsideFilters.h"
#include "EnginePins.h"
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "TrimChecks.h"
#include "TrimObjects.h"

using qel::ComPtr;

namespace {

constexpr char kLowLightCreateFailedText[] = "Failed to create MavixMix Filter";
constexpr WCHAR kLowLightGraphName[] = L"Q&LLowLight";

// The texts one splice shows, by step.
struct SpliceTexts {
    const char* add;
    const char* pins;
    const char* connectIn;
    const char* connectOut;
};
constexpr SpliceTexts kTextMixTexts = {
    "Failed to add TextMix Filter to the Graph", "Failed to get pins of TextMix",
    "Failed to Connect to the input pin of TextMix",
    "Failed to Connect to the output pin of TextMix to input of renderer"};
constexpr SpliceTexts kLowLightTexts = {
    "Failed to add MavixMix Filter to the Graph", "Failed to get pins of MavixMix",
    "Failed to Connect to the input pin of MavixMix",
    "Failed to Connect to the output pin of MavixMix to input of renderer"};
constexpr char kNoRendererText[] = "Failed to video Renderer input pint";
constexpr char kDisconnectInputText[] = "Failed to disconnect input pin of rendrer";
constexpr char kDisconnectUpstreamText[] = "Failed to disconnect the output pin where rendrer was connected";

void Tell(const char* text) { AfxMessageBox(text, MB_OK); }

HRESULT CreateFilterInto(REFCLSID clsid, IBaseFilter** filter) {
    return CreateTrimObject(clsid, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

// Puts `filter` between the video renderer and whatever feeds it. The graph is held stopped and comes
// back at its position and run state; a failing step undoes the splice (filter out, renderer fed as
// before) after the user is told. `beforeRestart` runs on success only.
template <class BeforeRestart>
int SpliceBeforeRenderer(IBaseFilter* filter, IGraphBuilder* graph, const WCHAR* graphName, const SpliceTexts& texts,
                         BeforeRestart beforeRestart) {
    StoppedGraph stopped(graph);
    // Undo failures cannot be logged from here (no editor); the user has already been told.
    GraphSplice splice(graph, [](HRESULT) {});
    if (FAILED(graph->AddFilter(filter, graphName))) {
        Tell(texts.add);
        return 0;
    }
    const ComPtr<IPin> in = PinOf(filter, PINDIR_INPUT);
    const ComPtr<IPin> out = PinOf(filter, PINDIR_OUTPUT);
    if (!in || !out) {
        Tell(texts.pins);
        return 0;
    }
    const ComPtr<IPin> renderer = FindPinOfNamedFilter(graph, "Video Renderer", PINDIR_INPUT, 0);
    if (!renderer) {
        Tell(kNoRendererText);
        return 0;
    }
    const ComPtr<IPin> upstream = PeerOf(renderer.Get());
    SpliceStep step = SpliceStep::kNone;
    if (FAILED(splice.TakeApart(renderer.Get(), &step))) {
        Tell(step == SpliceStep::kDisconnectInput ? kDisconnectInputText : kDisconnectUpstreamText);
        return 0;
    }
    if (FAILED(splice.Insert(upstream.Get(), in.Get(), out.Get(), renderer.Get(), &step))) {
        Tell(step == SpliceStep::kConnectInput ? texts.connectIn : texts.connectOut);
        return 0;
    }
    graph->Render(out.Get());
    splice.Commit();
    beforeRestart();
    return 1;
}

} // namespace

HRESULT CVideoTrim::CreateTextMix() {
    if (m_pTextMix)
        return S_OK;
    const HRESULT hr = CreateFilterInto(CLSID_TarnTextMix, &m_pTextMix);
    if (FAILED(hr)) {
        Tell(kTextMixCreateFailedText);
        m_pTextMix = nullptr;
        m_bTextMixUsed = FALSE;
    }
    return hr;
}

HRESULT CVideoTrim::CreateLowLight() {
    if (m_pLowLight)
        return S_OK;
    const HRESULT hr = CreateFilterInto(CLSID_QelFilter_LowLight, &m_pLowLight);
    if (FAILED(hr)) {
        Tell(kLowLightCreateFailedText);
        m_pLowLight = nullptr;
        m_bLowLightUsed = FALSE;
    }
    return hr;
}

int CVideoTrim::SetTextMixInfo(CTrimSource* source, LONGLONG timelineStart, LONGLONG /*timelineStop*/,
                               LONGLONG mediaStart, LONGLONG mediaStop) {
    if (!source || !source->IsTextMixEnabled())
        return 1;
    m_bTextMixUsed = TRUE;
    const qeltrim::MixRange range = qeltrim::MixRangeForClip(timelineStart, mediaStart, mediaStop);
    source->TextMixInfo().m_llStart = range.start;
    source->TextMixInfo().m_llEnd = range.end;
    const HRESULT hr = CreateTextMix();
    if (FAILED(hr))
        return hr;
    ComPtr<ITarnTextMix> mix;
    if (FAILED(m_pTextMix->QueryInterface(IID_ITarnTextMix, &mix)))
        return 1;
    mix->SetMixInfo(&source->TextMixInfo(), TRUE);
    return 1;
}

int CVideoTrim::SetMavixMixInfo(CTrimSource* source, LONGLONG timelineStart, LONGLONG /*timelineStop*/,
                                LONGLONG mediaStart, LONGLONG mediaStop) {
    if (!source || !source->IsMavixMixEnabled())
        return 1;
    m_bLowLightUsed = TRUE;
    const qeltrim::MixRange range = qeltrim::MixRangeForClip(timelineStart, mediaStart, mediaStop);
    source->MavixMixInfo().m_llStart = range.start;
    source->MavixMixInfo().m_llEnd = range.end;
    const HRESULT hr = CreateLowLight();
    if (FAILED(hr))
        return hr;
    ComPtr<IQelStrengthParams> params;
    if (FAILED(m_pLowLight->QueryInterface(IID_IQelFilterParams, &params)))
        return 1;
    m_bLowLightEnable = TRUE;
    params->SetStrength(source->MavixMixInfo().m_nLevel);
    const std::pair<double, double> seconds = qeltrim::MixRangeSeconds(range);
    params->AddRange(seconds.first, seconds.second);
    return 1;
}

int CVideoTrim::ApplyTextMix(IBaseFilter* overlay, IGraphBuilder* graph, BOOL on) {
    if (!graph || !overlay)
        return 0;
    if (!on)
        return 1;
    return SpliceBeforeRenderer(overlay, graph, kTextMixGraphName, kTextMixTexts, [] {});
}

int CVideoTrim::ApplyMavixMix(IBaseFilter* plugin, IGraphBuilder* graph, BOOL on, BOOL enable) {
    if (!graph || !plugin)
        return 0;
    if (!on)
        return 1;
    return SpliceBeforeRenderer(plugin, graph, kLowLightGraphName, kLowLightTexts, [plugin, enable] {
        ComPtr<IQelFilterParams> params;
        if (SUCCEEDED(plugin->QueryInterface(IID_IQelFilterParams, &params)))
            params->Enable(enable);
    });
}

IPin* CVideoTrim::FindInputPin(IGraphBuilder* graph, const char* name) {
    return FindPinOfNamedFilter(graph, name, PINDIR_INPUT, 0).Detach();
}

void CVideoTrim::RemoveFilter() {
    if (m_pGraph && m_pLowLight) {
        m_pGraph->RemoveFilter(m_pLowLight);
        ComPtr<IQelFilterParams> params;
        if (SUCCEEDED(m_pLowLight->QueryInterface(IID_IQelFilterParams, &params))) {
            m_bLowLightEnable = FALSE;
            params->ClearRanges();
        }
    }
    if (m_pGraph && m_pTextMix) {
        m_pGraph->RemoveFilter(m_pTextMix);
        ComPtr<ITarnTextMix> mix;
        if (SUCCEEDED(m_pTextMix->QueryInterface(IID_ITarnTextMix, &mix)))
            mix->ClearMixInfo();
    }
}
