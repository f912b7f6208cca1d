// Rendering the timeline to a file: the render engine's group pins into an AVI multiplexer or the ASF
// writer, the mix overlays in the video group's path, and the end of a render.
#include "VideoTrim.h"

#include <afxwin.h>

#include <cwchar>
#include <functional>

#include "AsfBuilder.h"
#include "AviMuxSink.h"
#include "EditingServices.h"
#include "EngineCom.h"
#include "GraphSplice.h"
#include "OutsideFilters.h"
#include "EnginePins.h"
#include "TrimChecks.h"
#include "TrimLog.h"
#include "TrimObjects.h"
#include "TrimWindowProc.h"
#include "WriterGraphStop.h"

#include "AsfWriterConfig.h"

using qel::ComPtr;

namespace {

constexpr unsigned kAsfQuality = 100;
constexpr WCHAR kLowLightGraphName[] = L"Q&LLowLight";

struct GroupMixTexts {
    const char* add;
    const char* connect;
    const char* render;
};
constexpr GroupMixTexts kLowLightGroupTexts = {
    "Could not add selected TarnMavixMix to the graph", "connet the group outputpin to MavixMix input pin fail",
    "connect the MAvixMix Filter Output pint to the Avi mux Input pin fail"};
constexpr GroupMixTexts kTextMixGroupTexts = {
    "Could not add selected TarnTextMix to the graph", "connet the group outputpin to TextMix input pin fail",
    "connect the TextMix Filter Output pint to the Avi mux Input pin fail"};

void TellFailure(const char* text) { AfxShowMessageBox(nullptr, text, "fail", MB_OK); }

bool IsOutputNameAllowed(const wchar_t* file) {
    return file && *file && qeltrim::IsOutputNameLengthAllowed(std::wcslen(file));
}

} // namespace

// A new render graph from the timeline, with the output file's writer in it: the AVI multiplexer
// (or, where the builder cannot name the file, our fallback pair) or the ASF writer.
HRESULT CVideoTrim::PrepareRender(wchar_t* file, BOOL avi) {
    if (!m_pTimeline || !IsOutputNameAllowed(file))
        return E_INVALIDARG;
    StopWatch();
    HRESULT hr = m_pTimeline->ValidateSourceNames(kValidateSourceNamesCheckReplace, nullptr, 0);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    // An earlier graph goes entirely: its window, mixes and the notifications it would still send.
    if (m_pGraph && m_pTextMix)
        m_pGraph->RemoveFilter(m_pTextMix);
    if (m_pGraph && m_pLowLight)
        m_pGraph->RemoveFilter(m_pLowLight);
    FreeBuilderInterface();
    if (FAILED(hr = CreateRenderEngine()))
        return hr;
    hr = m_pRenderEngine->ConnectFrontEnd();
    if (SUCCEEDED(hr))
        hr = CreateTrimObject(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                              reinterpret_cast<void**>(&m_pCaptureBuilder));
    if (SUCCEEDED(hr))
        hr = m_pRenderEngine->GetFilterGraph(&m_pGraph);
    if (SUCCEEDED(hr) && !m_pGraph)
        hr = E_NOINTERFACE;
    if (SUCCEEDED(hr))
        hr = m_pCaptureBuilder->SetFiltergraph(m_pGraph);
    if (SUCCEEDED(hr) && avi) {
        hr = m_pCaptureBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, file, &m_pMux, &m_pFileSink);
        if (hr == E_NOTIMPL)
            hr = BuildAviMuxWithSink(m_pGraph, file, &m_pMux, &m_pFileSink);
    } else if (SUCCEEDED(hr)) {
        hr = m_pCaptureBuilder->SetOutputFileName(&MEDIASUBTYPE_QelAsf, file, &m_pMux, &m_pFileSink);
        if (SUCCEEDED(hr))
            xAsfFrameSize();
    }
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        FreeBuilderInterface();
    }
    return hr;
}

// Runs the prepared graph with its notifications to the owner: the editor is rendering.
HRESULT CVideoTrim::RunRender() {
    HRESULT hr = m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl));
    hr |= m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent));
    if (FAILED(hr) || !m_pMediaControl || !m_pMediaEvent) {
        TRIM_LOG(hr);
        FreeBuilderInterface();
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hNotifyWnd), WM_TRIM_GRAPHNOTIFY,
                                   reinterpret_cast<LONG_PTR>(this));
    m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pMediaSeeking));
    const HRESULT run = m_pMediaControl->Run();
    if (FAILED(run))
        TRIM_LOG(run);
    SafeRelease(m_pBasicAudio);
    m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pBasicAudio));
    if (m_pBasicAudio)
        SetVolume(m_nVolume);
    m_TrimState = TrimStateRendering;
    return hr;
}

void CVideoTrim::ForEachGroupPin(const std::function<void(long, IPin*)>& render) {
    long groups = 0;
    m_pTimeline->GetGroupCount(&groups);
    for (long i = 0; i < groups; ++i) {
        ComPtr<IPin> pin;
        if (m_pRenderEngine->GetGroupOutputPin(i, &pin) == S_OK && pin)
            render(i, pin.Get());
    }
}

HRESULT CVideoTrim::StartProcess(wchar_t* file, int /*unused*/) {
    HRESULT hr = PrepareRender(file, TRUE);
    if (FAILED(hr))
        return hr;
    ForEachGroupPin([this](long, IPin* pin) {
        const HRESULT rendered = m_pCaptureBuilder->RenderStream(nullptr, nullptr, pin, nullptr, m_pMux);
        if (FAILED(rendered))
            TRIM_LOG(rendered);
    });
    return RunRender();
}

// One group's output into the file: the video group through the low-light plug-in or else the text
// overlay when a clip asked for one, every other group straight into the multiplexer. A mix that
// cannot be linked is taken out again, and the group then goes straight in.
void CVideoTrim::RenderGroup(long index, IPin* groupPin) {
    IBaseFilter* mix = nullptr;
    const WCHAR* mixName = nullptr;
    const GroupMixTexts* texts = nullptr;
    if (m_bLowLightUsed && m_pLowLight) {
        mix = m_pLowLight;
        mixName = kLowLightGraphName;
        texts = &kLowLightGroupTexts;
    } else if (m_bTextMixUsed && m_pTextMix) {
        mix = m_pTextMix;
        mixName = kTextMixGraphName;
        texts = &kTextMixGroupTexts;
    }
    bool video = false;
    if (mix) {
        ComPtr<IAMTimelineObj> groupNode;
        ComPtr<IAMTimelineGroup> group;
        AM_MEDIA_TYPE type = {};
        HRESULT hr = m_pTimeline->GetGroup(&groupNode, index);
        if (SUCCEEDED(hr) && groupNode)
            hr = QueryInto(groupNode.Get(), group);
        if (SUCCEEDED(hr) && group)
            hr = group->GetMediaType(&type);
        if (FAILED(hr)) {
            TRIM_LOG(hr);
            return;
        }
        video = IsEqualGUID(type.majortype, MEDIATYPE_Video) != 0;
        FreeMediaTypeFields(type);
    }
    if (video) {
        GraphSplice splice(m_pGraph, [this](HRESULT failed) { TRIM_LOG(failed); });
        const ComPtr<IPin> in = PinOf(mix, PINDIR_INPUT);
        const ComPtr<IPin> out = PinOf(mix, PINDIR_OUTPUT);
        bool linked = true;
        if (FAILED(m_pGraph->AddFilter(mix, mixName))) {
            TellFailure(texts->add);
            linked = false;
        }
        if (!in || FAILED(m_pGraph->Connect(groupPin, in.Get()))) {
            TellFailure(texts->connect);
            linked = false;
        }
        if (!out || FAILED(m_pCaptureBuilder->RenderStream(nullptr, nullptr, out.Get(), nullptr, m_pMux))) {
            TellFailure(texts->render);
            linked = false;
        }
        if (linked) {
            splice.Commit();
            return;
        }
    }
    const HRESULT hr = m_pCaptureBuilder->RenderStream(nullptr, nullptr, groupPin, nullptr, m_pMux);
    if (FAILED(hr))
        TRIM_LOG(hr);
}

HRESULT CVideoTrim::StartProcess2(wchar_t* file, int /*unused*/, BOOL avi, int /*unused2*/) {
    HRESULT hr = PrepareRender(file, avi);
    if (FAILED(hr))
        return hr;
    ForEachGroupPin([this](long index, IPin* pin) { RenderGroup(index, pin); });
    if (FAILED(hr = RunRender()))
        return hr;
    lstrcpynW(m_szMergeFileName, file, MAX_PATH);
    StartWatch();
    return hr;
}

HRESULT CVideoTrim::xAsfFrameSize() {
    if (!m_pMux)
        return E_INVALIDARG;
    ComPtr<IConfigAsfWriter> config;
    if (FAILED(m_pMux->QueryInterface(IID_IConfigAsfWriter, &config)) || !config)
        return S_OK;
    ComPtr<IWMProfile> profile;
    HRESULT hr = config->GetCurrentProfile(&profile);
    if (FAILED(hr) || !profile)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    // Without a size of its own the render keeps the profile's.
    if (m_nAsfWidth && m_nAsfHeight) {
        CAsfBuilder builder;
        if (FAILED(hr = builder.SetASFFormat(profile.Get(), m_nAsfWidth, m_nAsfHeight, kAsfQuality)))
            return hr;
    }
    return config->ConfigureFilterUsingProfile(profile.Get());
}

BOOL CVideoTrim::SetAsfFrameSize(long width, long height) {
    if (width == 0 || height == 0)
        return FALSE;
    m_nAsfWidth = width;
    m_nAsfHeight = height;
    return TRUE;
}

HRESULT CVideoTrim::StopProcess() {
    if (m_TrimState != TrimStateRendering || !m_pMediaControl)
        return S_FALSE;
    // The state goes first: the watch sees the render ending and leaves its loop.
    m_TrimState = TrimStateReady;
    StopWatch();
    StopMediaControl();
    SafeRelease(m_pMediaControl);
    if (m_pMediaEvent)
        m_pMediaEvent->SetNotifyWindow(0, 0, 0);
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pMediaSeeking);
    if (m_pRenderEngine)
        m_pRenderEngine->ScrapIt();
    SafeRelease(m_pRenderEngine);
    if (m_pGraph && m_pTextMix)
        m_pGraph->RemoveFilter(m_pTextMix);
    if (m_pGraph && m_pLowLight)
        m_pGraph->RemoveFilter(m_pLowLight);
    SafeRelease(m_pGraph);
    SafeRelease(m_pBasicAudio);
    // The writer keeps the file open while anything holds it (the builder holds the graph): the
    // finished file must be free for the owner to open.
    SafeRelease(m_pFileSink);
    SafeRelease(m_pMux);
    SafeRelease(m_pCaptureBuilder);
    return S_OK;
}

void CVideoTrim::StopMediaControl() {
    if (!m_pMediaControl)
        return;
    if (!m_pGraph || !m_pMux) {
        m_pMediaControl->Stop();
        return;
    }
    ComPtr<IBaseFilter> sink;
    if (m_pFileSink)
        m_pFileSink->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(sink.GetAddressOf()));
    const HRESULT hr = StopWritingGraph(m_pGraph, {m_pMux, sink.Get()});
    if (FAILED(hr))
        TRIM_LOG(hr);
}

void CVideoTrim::StopGraph() {
    StopMediaControl();
    if (m_pMediaEvent)
        m_pMediaEvent->SetNotifyWindow(0, 0, 0);
    if (m_pVideoWindow) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_Owner(0);
    }
}
