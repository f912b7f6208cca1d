// The playback enhancement chain. Each insertion holds the graph stopped and puts back its position
// and run state; one that cannot complete leaves the graph as it found it and reports 0.
#include "VideoMavix.h"

#include <afxwin.h>

#include "EngineCom.h"
#include "EngineTrace.h"
#include "GraphSplice.h"
#include "PinHelpers.h"
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "RendererSplice.h"

using qel::ComPtr;

// What sets one plug-in apart: its members, class and texts.
struct CVideoMavix::Plugin {
    IBaseFilter* CVideoMavix::*filter;
    IPin* CVideoMavix::*in;
    IPin* CVideoMavix::*out;
    int CVideoMavix::*added;
    int CVideoMavix::*level;
    const CLSID* clsid;
    const WCHAR* graphName;
    const char* createText;
    const char* removeText;
    const char* entryText;
    const char* addText;
    const char* pinsText;
    const char* inputText;
    const char* outputText;
};

namespace {

void EnablePlugin(IBaseFilter* plugin, BOOL on) {
    ComPtr<IQelFilterParams> params;
    if (plugin && SUCCEEDED(plugin->QueryInterface(IID_IQelFilterParams, &params)))
        params->Enable(on);
}

} // namespace

const CVideoMavix::Plugin& CVideoMavix::PluginOf(int which) {
    static const Plugin plugins[3] = {
        {&CVideoMavix::m_pAutoEnhance, &CVideoMavix::m_pAutoEnhanceIn, &CVideoMavix::m_pAutoEnhanceOut,
         &CVideoMavix::m_bAutoEnhanceAdded, &CVideoMavix::m_nAutoEnhanceLevel, &CLSID_QelFilter_AutoEnhance,
         L"Q&LAutoEnhance", "Failed to create Auto Enhance Filter", "Going to remove AutoEnhance Filter",
         "Going to add AutoEnhance Filter", "Failed to add AutoEnhance Filter to the Graph",
         "Failed to get pins of AutoEnhance", "Failed to Connect to the input pin of AutoEnhance",
         "Failed to Connect to the output pin of AutoEnhance to input of renderer"},
        {&CVideoMavix::m_pAutoTone, &CVideoMavix::m_pAutoToneIn, &CVideoMavix::m_pAutoToneOut,
         &CVideoMavix::m_bAutoToneAdded, &CVideoMavix::m_nAutoToneLevel, &CLSID_QelFilter_AutoTone, L"Q&LAutoTone",
         "Failed to create Auto Tone Filter", "Going to remove AutoTone Filter", "Going to add AutoTone Filter",
         "Failed to add AutoTone Filter to the Graph", "Failed to get pins of AutoTone",
         "Failed to Connect to the input pin of AutoTone",
         "Failed to Connect to the output pin of AutoTone to input of renderer"},
        {&CVideoMavix::m_pWhiteBoard, &CVideoMavix::m_pWhiteBoardIn, &CVideoMavix::m_pWhiteBoardOut,
         &CVideoMavix::m_bWhiteBoardAdded, &CVideoMavix::m_nWhiteBoardLevel, &CLSID_QelFilter_Whiteboard,
         L"Q&LWhiteBoard", "Failed to create White Board Filter", "Going to remove Whiteboard Filter",
         "Going to add WhiteBoard Filter", "Failed to add WhiteBoard Filter to the Graph",
         "Failed to get pins of Whiteboard", "Failed to Connect to the input pin of WhiteBoard",
         "Failed to Connect to the output pin of WhiteBoard to input of renderer"},
    };
    return plugins[which - MAVIX_AUTOENHANCE];
}

CVideoMavix::CVideoMavix()
    : m_bWhiteBoardAdded(0), m_bAutoEnhanceAdded(0), m_bAutoToneAdded(0), m_pGraph(nullptr), m_pRendererIn(nullptr),
      m_pWhiteBoardOut(nullptr), m_pWhiteBoardIn(nullptr), m_pAutoToneOut(nullptr), m_pAutoToneIn(nullptr),
      m_pAutoEnhanceOut(nullptr), m_pAutoEnhanceIn(nullptr), m_pAutoEnhance(nullptr), m_pAutoTone(nullptr),
      m_pWhiteBoard(nullptr), m_pColorSpace(nullptr), m_pColorSpaceIn(nullptr), m_pColorSpaceOut(nullptr),
      m_nWhiteBoardLevel(50), m_nAutoToneLevel(50), m_nAutoEnhanceLevel(50) {}

CVideoMavix::~CVideoMavix() {
    CleanUp();
    SafeRelease(m_pGraph);
}

HRESULT CVideoMavix::SetMainGraph(IGraphBuilder* graph) {
    if (!graph) {
        EngineTrace("Failed to query pGraph in SetMainGraph for VideoMavix");
        return E_POINTER;
    }
    IGraphBuilder* queried = nullptr;
    const HRESULT hr = graph->QueryInterface(IID_IGraphBuilder, reinterpret_cast<void**>(&queried));
    if (FAILED(hr)) {
        EngineTrace("Failed to query pGraph in SetMainGraph for VideoMavix");
        return hr;
    }
    SafeRelease(m_pGraph);
    m_pGraph = queried;
    if (!CreateVideoMavixFilters()) {
        EngineTrace("Failed to create VideoMavix Filters");
        AfxMessageBox("You do not have VideoMavix Installed.\nPlease contact Q&L regarding this", 0, 0);
    }
    return hr;
}

int CVideoMavix::CreateVideoMavixFilters() {
    int created = 0;
    for (int which = MAVIX_AUTOENHANCE; which <= MAVIX_WHITEBOARD; ++which) {
        const Plugin& plugin = PluginOf(which);
        IBaseFilter*& filter = this->*plugin.filter;
        if (!filter && FAILED(CoCreateInstance(*plugin.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                               reinterpret_cast<void**>(&filter)))) {
            filter = nullptr;
            EngineTrace(plugin.createText);
        }
        created += filter ? 1 : 0;
    }
    if (!m_pColorSpace && FAILED(CoCreateInstance(CLSID_Colour, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                                  IID_IBaseFilter, reinterpret_cast<void**>(&m_pColorSpace)))) {
        m_pColorSpace = nullptr;
        EngineTrace("Failed to create Color space Filter");
    }
    return created == 3 ? 1 : 0;
}

// The last filter whose name contains "Video Renderer" gives its input; false when there is none.
int CVideoMavix::FindRendererInputPin() {
    SafeRelease(m_pRendererIn);
    m_pRendererIn = NamedFilterInput(m_pGraph, "Video Renderer", true).Detach();
    if (!m_pRendererIn)
        return 0;
    EngineTrace("Got the input pin of Renderer");
    return 1;
}

int CVideoMavix::ApplyColorSpace() {
    EngineTrace("Going to add ColorSpace Filter");
    if (!m_pGraph || !m_pColorSpace)
        return 0;
    StoppedGraph stopped(m_pGraph);
    if (!FindRendererInputPin()) {
        EngineTrace("Error in getting Video Renderer InputPin");
        return 0;
    }
    HRESULT hr = S_OK;
    const RendererSpliceStep step = SpliceBeforeRenderer(m_pGraph, m_pColorSpace, L"ColorSpace", m_pRendererIn, &hr);
    SafeRelease(m_pRendererIn);
    switch (step) {
    case RendererSpliceStep::kNone: break;
    case RendererSpliceStep::kAdd: EngineTrace("Failed to add ColorSpace Filter to the Graph"); return 0;
    case RendererSpliceStep::kConnectInput: EngineTrace("Failed to Connect to the input pin of ColorSpace"); return 0;
    case RendererSpliceStep::kConnectOutput:
        // The undo has joined the upstream output to the renderer again: the picture runs as before.
        EngineTrace("Failed to Connect to the output pin of ColorSpace to input of renderer");
        return 0;
    default: EngineTrace("Failed to disconnect input pin of rendrer"); return 0;
    }
    if (!m_pColorSpaceIn)
        m_pColorSpaceIn = FindPin(m_pColorSpace, PINDIR_INPUT);
    if (!m_pColorSpaceOut)
        m_pColorSpaceOut = FindPin(m_pColorSpace, PINDIR_OUTPUT);
    return 1;
}

int CVideoMavix::ApplyAutoEnhance(int on) { return ApplyPlugin(PluginOf(MAVIX_AUTOENHANCE), on); }
int CVideoMavix::ApplyAutoTone(int on) { return ApplyPlugin(PluginOf(MAVIX_AUTOTONE), on); }
int CVideoMavix::ApplyWhiteBoard(int on) { return ApplyPlugin(PluginOf(MAVIX_WHITEBOARD), on); }

int CVideoMavix::ApplyPlugin(const Plugin& plugin, int on) {
    IBaseFilter* filter = this->*plugin.filter;
    if (!on) {
        EngineTrace(plugin.removeText);
        EnablePlugin(filter, FALSE);
        return 1;
    }
    EngineTrace(plugin.entryText);
    if (!filter)
        return 0;
    if (this->*plugin.added) {
        EnablePlugin(filter, TRUE);
        return 1;
    }
    // Set first: an insertion that failed is not tried again, later switch-ons only enable.
    this->*plugin.added = 1;
    return SplicePlugin(plugin);
}

int CVideoMavix::SplicePlugin(const Plugin& plugin) {
    if (!m_pGraph)
        return 0;
    IBaseFilter* filter = this->*plugin.filter;
    StoppedGraph stopped(m_pGraph);
    if (!FindRendererInputPin()) {
        EngineTrace("Error in getting Video Renderer InputPin");
        return 0;
    }
    HRESULT hr = S_OK;
    const RendererSpliceStep step = SpliceBeforeRenderer(m_pGraph, filter, plugin.graphName, m_pRendererIn, &hr);
    SafeRelease(m_pRendererIn);
    switch (step) {
    case RendererSpliceStep::kNone: break;
    case RendererSpliceStep::kAdd: EngineTrace(plugin.addText); return 0;
    case RendererSpliceStep::kPins: EngineTrace(plugin.pinsText); return 0;
    case RendererSpliceStep::kDisconnectInput: EngineTrace("Failed to disconnect input pin of rendrer"); return 0;
    case RendererSpliceStep::kDisconnectUpstream:
        EngineTrace("Failed to disconnect the output pin where rendrer was connected");
        return 0;
    case RendererSpliceStep::kConnectInput: EngineTrace(plugin.inputText); return 0;
    case RendererSpliceStep::kConnectOutput: EngineTrace(plugin.outputText); return 0;
    }
    IPin*& in = this->*plugin.in;
    IPin*& out = this->*plugin.out;
    if (!in)
        in = FindPin(filter, PINDIR_INPUT);
    if (!out)
        out = FindPin(filter, PINDIR_OUTPUT);
    // Inserted switched off: the next switch-on enables it.
    EnablePlugin(filter, FALSE);
    return 1;
}

int CVideoMavix::AutoEnhanceLevel(int level, int set) { return PluginLevel(PluginOf(MAVIX_AUTOENHANCE), level, set); }
int CVideoMavix::AutoToneLevel(int level, int set) { return PluginLevel(PluginOf(MAVIX_AUTOTONE), level, set); }
int CVideoMavix::WhiteBoardLevel(int level, int set) { return PluginLevel(PluginOf(MAVIX_WHITEBOARD), level, set); }

int CVideoMavix::PluginLevel(const Plugin& plugin, int level, int set) {
    int& kept = this->*plugin.level;
    if (!set)
        return kept;
    if (level >= 0 && level <= 100)
        kept = level;
    IBaseFilter* filter = this->*plugin.filter;
    ComPtr<IQelStrengthParams> params;
    if (filter && SUCCEEDED(filter->QueryInterface(IID_IQelFilterParams, &params)))
        params->SetStrength(kept);
    return kept;
}

void CVideoMavix::RemoveVideoMavixFilters() {
    if (!m_pGraph)
        return;
    // The converter stays: it passes the picture through unchanged.
    for (IBaseFilter* filter : {m_pAutoEnhance, m_pAutoTone, m_pWhiteBoard})
        if (filter)
            m_pGraph->RemoveFilter(filter);
}

void CVideoMavix::ReleasePins(IPin** in, IPin** out) {
    SafeRelease(*in);
    SafeRelease(*out);
}

void CVideoMavix::CleanUp() {
    RemoveVideoMavixFilters();
    SafeRelease(m_pWhiteBoard);
    ReleasePins(&m_pWhiteBoardIn, &m_pWhiteBoardOut);
    SafeRelease(m_pAutoTone);
    ReleasePins(&m_pAutoToneIn, &m_pAutoToneOut);
    SafeRelease(m_pAutoEnhance);
    ReleasePins(&m_pAutoEnhanceIn, &m_pAutoEnhanceOut);
    SafeRelease(m_pColorSpace);
    ReleasePins(&m_pColorSpaceIn, &m_pColorSpaceOut);
    SafeRelease(m_pRendererIn);
    SafeRelease(m_pGraph);
    m_bWhiteBoardAdded = m_bAutoEnhanceAdded = m_bAutoToneAdded = 0;
    m_nWhiteBoardLevel = m_nAutoToneLevel = m_nAutoEnhanceLevel = 50;
}
