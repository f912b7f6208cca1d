// The basic player's graph: construction, preparation, rendering, the enhancement chain and the
// copy's branch, and clean-up.
#include "BasicPlayer.h"

#include "EngineCom.h"
#include "BasicPlayerInternal.h"
#include "EngineTrace.h"

#include <cstring>
#include <string>

namespace {

IBaseFilter* CreateFilter(REFCLSID clsid) {
    IBaseFilter* filter = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&filter))))
        return nullptr;
    return filter;
}

} // namespace

std::wstring WideOf(const CString& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

void ShowGraphError(HRESULT hr) {
    char text[200] = {0};
    AMGetErrorTextA(hr, text, sizeof text);
    AfxMessageBox(text, 0, 0);
}

CBasicPlayer::CBasicPlayer()
    : m_bWriteFile(1), m_bAviFile(1), m_bCompressorLinked(0), m_llDuration(0), m_dwRotRegister(0), m_nPosition(0),
      m_bHasVideo(1), m_pMediaControl(nullptr), m_pMediaEvent(nullptr), m_pMediaSeeking(nullptr),
      m_pBasicAudio(nullptr), m_pBasicVideo(nullptr), m_pVideoWinOrg(nullptr), m_pSmartTee(nullptr),
      m_pVideoRender(nullptr), m_pAudioRender(nullptr), m_pVideoPinTee(nullptr), m_pAudioPinTee(nullptr),
      m_pFileWriter(nullptr), m_pAviMux(nullptr), m_pAviCompressor(nullptr), m_bSeeking(0), m_lVideoWidth(0),
      m_lVideoHeight(0), m_bAudioLinked(0), m_pAsfWriter(nullptr), m_pGraph(nullptr) {
    CoInitialize(nullptr);
}

CBasicPlayer::~CBasicPlayer() {
    CleanUp();
    // The chain holds the graph too: it lets go before COM does.
    m_VideoMavix.CleanUp();
    CoUninitialize();
}

int CBasicPlayer::BuildMainGraph() {
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&m_pGraph)))) {
        m_pGraph = nullptr;
        EngineTrace("Creation of Filter Graph Failed");
        return 1;
    }
    return 0;
}

int CBasicPlayer::CreateSmartTee() {
    if (!m_pSmartTee && !(m_pSmartTee = CreateFilter(CLSID_SmartTee))) {
        EngineTrace("Creation of Smart Tee Failed");
        return 0;
    }
    return 1;
}

int CBasicPlayer::CreateAsfWriter() {
    if (!m_pAsfWriter && !(m_pAsfWriter = CreateFilter(CLSID_WMAsfWriter))) {
        EngineTrace("Creation of Asf Writer Failed");
        return 0;
    }
    return 1;
}

int CBasicPlayer::CreateVideoRender() {
    if (!m_pVideoRender && !(m_pVideoRender = CreateFilter(CLSID_VideoRenderer))) {
        EngineTrace("Creation of Video Render Failed");
        return 0;
    }
    if (m_pGraph)
        m_pGraph->AddFilter(m_pVideoRender, L"Video Renderer");
    return 1;
}

IBaseFilter* CBasicPlayer::CreateInfPinTee() {
    IBaseFilter* tee = CreateFilter(CLSID_InfTee);
    if (!tee)
        EngineTrace("Creation of Inf Pin Tee Failed");
    return tee;
}

int CBasicPlayer::CreateAVIFileWriter() {
    if (!m_pFileWriter && !(m_pFileWriter = CreateFilter(CLSID_FileWriter))) {
        EngineTrace("Creation of FileWriter Failed");
        return 0;
    }
    if (!m_pAviMux && !(m_pAviMux = CreateFilter(CLSID_AviDest))) {
        EngineTrace("Creation of Avi Mux Failed");
        return 0;
    }
    CreateAviCompressor();
    return 1;
}

void CBasicPlayer::SetMovieName(CString name) { m_strMovieName = name; }

void CBasicPlayer::SetExtFlag(CString name) {
    char extension[_MAX_EXT] = {0};
    _splitpath_s(static_cast<LPCSTR>(name), nullptr, 0, nullptr, 0, nullptr, 0, extension, sizeof extension);
    CString upper(extension);
    upper.MakeUpper();
    m_bAviFile = upper.Find(".AVI") >= 0 ? 1 : 0;
}

int CBasicPlayer::PrepareGraph(int withChain) {
    BuildMainGraph();
    SetDuration();
    if (!withChain || !m_pGraph)
        return 1;
    if (FAILED(m_VideoMavix.SetMainGraph(m_pGraph)))
        EngineTrace("Failed to set main fileter for Video Mavix, in PrepareGraph()");
    if (!m_bWriteFile)
        return 1;
    if (m_bAviFile) {
        SafeRelease(m_pVideoPinTee);
        SafeRelease(m_pAudioPinTee);
        m_pVideoPinTee = CreateInfPinTee();
        m_pAudioPinTee = CreateInfPinTee();
        CreateAVIFileWriter();
    } else {
        CreateSmartTee();
        CreateAsfWriter();
        SafeRelease(m_pAudioPinTee);
        m_pAudioPinTee = CreateInfPinTee();
    }
    return 1;
}

int CBasicPlayer::RenderMovie() {
    if (!m_pGraph)
        return 0;
    const HRESULT hr = m_pGraph->RenderFile(WideOf(m_strMovieName).c_str(), nullptr);
    if (FAILED(hr)) {
        EngineTrace("Failed to render movie");
        ShowGraphError(hr);
        return 0;
    }
    AddGraphFiltersToList(m_pGraph);
    // The duration read while the graph was empty was 0: read it from the rendered file.
    SetDuration();
    return 1;
}

HRESULT CBasicPlayer::AddGraphFiltersToList(IGraphBuilder* graph) {
    if (!graph)
        return E_NOINTERFACE;
    qel::ComPtr<IEnumFilters> filters;
    HRESULT hr = graph->EnumFilters(&filters);
    if (FAILED(hr))
        return hr;
    qel::ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        FILTER_INFO info = {};
        hr = filter->QueryFilterInfo(&info);
        SafeRelease(info.pGraph);
    }
    return hr;
}

int CBasicPlayer::SetDuration() {
    if (!m_pGraph)
        return 0;
    if (!m_pMediaSeeking && FAILED(m_pGraph->QueryInterface(IID_IMediaSeeking,
                                                            reinterpret_cast<void**>(&m_pMediaSeeking)))) {
        m_pMediaSeeking = nullptr;
        EngineTrace("Getting MediaSeeking Interface Failed");
        return 0;
    }
    m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    GUID format = GUID_NULL;
    m_pMediaSeeking->GetTimeFormat(&format);
    if (FAILED(m_pMediaSeeking->GetDuration(&m_llDuration)))
        EngineTrace("Failed to get duration");
    return 1;
}

void CBasicPlayer::InitializeFilters() {
    m_VideoMavix.ApplyColorSpace();
    m_VideoMavix.ApplyWhiteBoard(1);
    m_VideoMavix.ApplyAutoTone(1);
    m_VideoMavix.ApplyAutoEnhance(1);
    if (!m_bWriteFile)
        return;
    const bool linked = m_bAviFile ? LinkInfPinTee() && LinkAVIFileWriter(m_strMovieName)
                                   : AddAboutAsfFilter() && LinkAsfWriter(m_strMovieName);
    // A copy that cannot be written leaves the graph; the movie plays on.
    if (!linked)
        RemoveFileWriteFilters();
}

int CBasicPlayer::ApplyVideoMavix(VIDEOMAVIX type, int on) {
    switch (type) {
    case MAVIX_AUTOENHANCE: m_VideoMavix.ApplyAutoEnhance(on); break;
    case MAVIX_AUTOTONE: m_VideoMavix.ApplyAutoTone(on); break;
    case MAVIX_WHITEBOARD: m_VideoMavix.ApplyWhiteBoard(on); break;
    default: EngineTrace("Video Mavix Type not supported"); break;
    }
    return 1;
}

int CBasicPlayer::ApplyIntensityLevel(VIDEOMAVIX type, int level, int set) {
    switch (type) {
    case MAVIX_AUTOENHANCE: return m_VideoMavix.AutoEnhanceLevel(level, set);
    case MAVIX_AUTOTONE: return m_VideoMavix.AutoToneLevel(level, set);
    case MAVIX_WHITEBOARD: return m_VideoMavix.WhiteBoardLevel(level, set);
    }
    EngineTrace("Video Mavix Type not supported for intensity level");
    return 0;
}

void CBasicPlayer::RemoveFileWriteFilters() {
    if (!m_pGraph)
        return;
    if (m_bAviFile) {
        for (IBaseFilter* filter : {m_pFileWriter, m_pAviMux})
            if (filter)
                m_pGraph->RemoveFilter(filter);
        TakeOutCopyTee(m_pVideoPinTee, m_pVideoRender);
    } else {
        if (m_pAsfWriter)
            m_pGraph->RemoveFilter(m_pAsfWriter);
        TakeOutCopyTee(m_pSmartTee, m_pVideoRender);
    }
}

int CBasicPlayer::CleanUp() {
    if (!m_pGraph)
        return 0;
    StopMovie();
    m_VideoMavix.CleanUp();
    if (m_bWriteFile)
        RemoveFileWriteFilters();
    if (m_pVideoWinOrg) {
        m_pVideoWinOrg->put_Visible(OAFALSE);
        if (m_pMediaEvent)
            m_pMediaEvent->SetNotifyWindow(0, 0, 0);
    }
    SafeRelease(m_pMediaSeeking);
    SafeRelease(m_pMediaControl);
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pVideoWinOrg);
    SafeRelease(m_pBasicAudio);
    SafeRelease(m_pBasicVideo);
    SafeRelease(m_pGraph);
    SafeRelease(m_pVideoPinTee);
    SafeRelease(m_pAudioPinTee);
    SafeRelease(m_pAviMux);
    SafeRelease(m_pFileWriter);
    SafeRelease(m_pAudioRender);
    SafeRelease(m_pVideoRender);
    SafeRelease(m_pAsfWriter);
    SafeRelease(m_pSmartTee);
    SafeRelease(m_pAviCompressor);
    if (m_dwRotRegister) {
        RemoveGraphFromRot(m_dwRotRegister);
        m_dwRotRegister = 0;
    }
    return 1;
}
