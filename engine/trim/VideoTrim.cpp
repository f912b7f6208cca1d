// The trim editor's life: construction, the timeline and its groups, clean-up and the error log.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "EngineLog.h"
#include "TrimLog.h"
#include "TrimObjects.h"
#include "TrimWindowProc.h"

namespace {
constexpr UINT kFullVolume = 100;
constexpr ULONGLONG kDefaultMinFreeSpace = 100ull * 1048576ull;
constexpr UINT kDefaultPollingMs = 1000;
} // namespace

CVideoTrim::CVideoTrim()
    : m_pTextMix(nullptr), m_pLowLight(nullptr), m_bTextMixUsed(FALSE), m_bLowLightUsed(FALSE),
      m_bLowLightEnable(FALSE), m_pTimeline(nullptr), m_pVideoGroup(nullptr), m_pAudioGroup(nullptr),
      m_pGraph(nullptr), m_pMediaControl(nullptr), m_pMediaEvent(nullptr), m_pCaptureBuilder(nullptr),
      m_pRenderEngine(nullptr), m_pVideoWindow(nullptr), m_pMux(nullptr), m_pFileSink(nullptr),
      m_pMediaSeeking(nullptr), m_pBasicAudio(nullptr), m_TrimState(TrimStateConstructed), m_hNotifyWnd(nullptr),
      m_bLog(FALSE), m_nVolume(kFullVolume), m_szMergeFileName(), m_nMinFreeSpace(kDefaultMinFreeSpace),
      m_nPollingInterval(kDefaultPollingMs), m_nAsfWidth(0), m_nAsfHeight(0), m_hWatchThread(nullptr),
      m_hWatchStop(nullptr), m_lWatchNotifying(0) {
    s_TrimSavedWindowProc = nullptr;
}

CVideoTrim::~CVideoTrim() {
    // The watch reads this object: it ends before anything goes.
    StopWatch();
    if (m_pGraph) {
        if (m_pTextMix)
            m_pGraph->RemoveFilter(m_pTextMix);
        if (m_pLowLight)
            m_pGraph->RemoveFilter(m_pLowLight);
    }
    SafeRelease(m_pTextMix);
    SafeRelease(m_pLowLight);
    FreeBuilderInterface();
    ReleaseTimeline();
}

void CVideoTrim::ReleaseTimeline() {
    SafeRelease(m_pVideoGroup);
    SafeRelease(m_pAudioGroup);
    if (m_pTimeline)
        m_pTimeline->ClearAllGroups();
    SafeRelease(m_pTimeline);
}

void CVideoTrim::FreeBuilderInterface() {
    StopMediaControl();
    SafeRelease(m_pMediaControl);
    SafeRelease(m_pBasicAudio);
    if (m_pMediaEvent)
        m_pMediaEvent->SetNotifyWindow(0, 0, 0);
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pMux);
    SafeRelease(m_pFileSink);
    SafeRelease(m_pMediaSeeking);
    if (m_pVideoWindow) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_Owner(0);
    }
    SafeRelease(m_pVideoWindow);
    SafeRelease(m_pGraph);
    if (m_pRenderEngine)
        m_pRenderEngine->ScrapIt();
    SafeRelease(m_pRenderEngine);
    SafeRelease(m_pCaptureBuilder);
}

void CVideoTrim::MyShowErrMSG(HRESULT result, const char* source, int line) {
    if (m_bLog)
        AppendEngineLogRecord(result, source, line);
}

HRESULT CVideoTrim::MakeNode(TIMELINE_MAJOR_TYPE type, IAMTimelineObj** node) {
    const HRESULT hr = m_pTimeline->CreateEmptyNode(node, type);
    if (FAILED(hr))
        TRIM_LOG(hr);
    return hr;
}

HRESULT CVideoTrim::MakeGroup(const GUID& majorType, IAMTimelineObj** group) {
    HRESULT hr = MakeNode(TIMELINE_MAJOR_TYPE_GROUP, group);
    if (FAILED(hr))
        return hr;
    qel::ComPtr<IAMTimelineGroup> groupInterface;
    if (FAILED(hr = QueryInto(*group, groupInterface))) {
        TRIM_LOG(hr);
        return hr;
    }
    AM_MEDIA_TYPE type = {};
    type.majortype = majorType;
    if (FAILED(hr = groupInterface->SetMediaType(&type))) {
        TRIM_LOG(hr);
        return hr;
    }
    groupInterface.Reset();
    if (FAILED(hr = m_pTimeline->AddGroup(*group)))
        TRIM_LOG(hr);
    return hr;
}

HRESULT CVideoTrim::Initial(HWND owner, BOOL log) {
    if (!IsWindow(owner))
        return E_INVALIDARG;
    m_hNotifyWnd = owner;
    m_bLog = log;
    // A second call starts a new timeline: the first one and its groups are dropped, not leaked.
    ReleaseTimeline();
    HRESULT hr = CreateTrimObject(CLSID_AMTimeline, CLSCTX_INPROC_SERVER, IID_IAMTimeline,
                                  reinterpret_cast<void**>(&m_pTimeline));
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    if (FAILED(hr = MakeGroup(MEDIATYPE_Video, &m_pVideoGroup)))
        return hr;
    if (FAILED(hr = MakeGroup(MEDIATYPE_Audio, &m_pAudioGroup)))
        return hr;
    m_TrimState = TrimStateReady;
    return S_OK;
}

BOOL CVideoTrim::ReleaseObj(CTrimSource* source) {
    if (!source)
        return FALSE;
    source->Release();
    return TRUE;
}

BOOL CVideoTrim::ReleaseObj(CTrimTrack* track) {
    if (!track)
        return FALSE;
    track->Release();
    return TRUE;
}

BOOL CVideoTrim::ReleaseObj(CTrimTrans* trans) {
    if (!trans)
        return FALSE;
    trans->Release();
    return TRUE;
}
