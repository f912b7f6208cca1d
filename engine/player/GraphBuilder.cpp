// The file player's graph: building it from a file, its lifecycle, and the file's facts.
#include "GraphBuilder.h"

#include "EngineCom.h"

#include <qedit.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace {

constexpr HRESULT kBusy = 170; // callers that test for success take it as success
constexpr DWORD kDestroyWaitMs = 5000;
constexpr LONGLONG kNotConverted = LLONG_MIN;

bool SameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

} // namespace

CGraphBuilder::CGraphBuilder()
    : m_pLowLight(nullptr), m_bTextMixApplied(FALSE), m_pColorSpace(nullptr), m_pTextMix(nullptr),
      m_guidTimeFormat(TIME_FORMAT_MEDIA_TIME), m_hOwner(nullptr), m_hDefaultOwner(nullptr), m_hr(S_OK),
      m_szFile(), m_nWndHeight(0), m_nWndWidth(0), m_bBusy(FALSE), m_nWndLeft(0), m_nWndTop(0), m_VideoInfo(),
      m_bLowLightApplied(FALSE), m_nLowLightLevel(0), m_pMediaDet(nullptr), m_pBasicAudio(nullptr),
      m_pBasicVideo(nullptr), m_pMediaEvent(nullptr), m_pMediaSeeking(nullptr), m_pVideoWindow(nullptr),
      m_pMediaControl(nullptr), m_pGraph(nullptr), m_bFramesDerived(FALSE) {}

CGraphBuilder::~CGraphBuilder() {
    const DWORD start = GetTickCount();
    while (m_bBusy && GetTickCount() - start < kDestroyWaitMs)
        Sleep(100);
    ReleaseGraph();
}

void CGraphBuilder::ReleaseGraph() {
    if (m_pMediaControl)
        m_pMediaControl->Stop();
    SafeRelease(m_pMediaDet);
    SafeRelease(m_pLowLight);
    SafeRelease(m_pTextMix);
    SafeRelease(m_pColorSpace);
    SafeRelease(m_pMediaSeeking);
    if (m_pVideoWindow)
        m_pVideoWindow->put_Visible(OAFALSE);
    SafeRelease(m_pVideoWindow);
    if (m_pMediaEvent)
        m_pMediaEvent->SetNotifyWindow(0, 0, 0);
    SafeRelease(m_pMediaEvent);
    SafeRelease(m_pMediaControl);
    SafeRelease(m_pBasicVideo);
    SafeRelease(m_pBasicAudio);
    SafeRelease(m_pGraph);
    m_bTextMixApplied = FALSE;
    m_bLowLightApplied = FALSE;
    m_bFramesDerived = FALSE;
}

void CGraphBuilder::ShowErrMSG(long) {
    // Error hook: the player neither shows nor logs its failures; callers get the HRESULT.
}

HRESULT CGraphBuilder::Fail(HRESULT hr) {
    m_hr = hr;
    ShowErrMSG(hr);
    m_bBusy = FALSE;
    return hr;
}

BOOL CGraphBuilder::IsValidFileName(const WCHAR* name, int forReading) {
    if (!name || !*name)
        return FALSE;
    char ansi[MAX_PATH * 2];
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, nullptr))
        return FALSE;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(ansi, &found);
    if (search == INVALID_HANDLE_VALUE)
        return TRUE; // a file still to be made
    FindClose(search);
    if (forReading && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    if (!forReading && (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return FALSE;
    return TRUE;
}

HRESULT CGraphBuilder::Init(HWND owner, const WCHAR* fileName, int flag) {
    return Open(owner, fileName, flag, false);
}

HRESULT CGraphBuilder::Init2(HWND owner, const WCHAR* fileName, int flag) {
    return Open(owner, fileName, flag, true);
}

HRESULT CGraphBuilder::Open(HWND owner, const WCHAR* fileName, int flag, bool frames) {
    if (!owner && flag == 1)
        return E_INVALIDARG;
    if (!IsValidFileName(fileName, TRUE))
        return E_INVALIDARG;
    if (m_bBusy)
        return kBusy;
    if (wcslen(fileName) >= MAX_PATH)
        return E_INVALIDARG;

    ReleaseGraph(); // one graph per object: a new file replaces the old graph
    m_VideoInfo = _LITEVIDEOINFO();
    m_guidTimeFormat = TIME_FORMAT_MEDIA_TIME;
    m_hOwner = owner;
    m_hDefaultOwner = owner;
    m_bBusy = TRUE;

    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&m_pGraph));
    if (FAILED(hr))
        return Fail(hr);
    hr = m_pGraph->RenderFile(fileName, nullptr);
    if (FAILED(hr)) {
        SafeRelease(m_pGraph);
        return Fail(hr);
    }
    wcscpy(m_szFile, fileName);

    if (FAILED(hr =
                   m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl))) ||
        FAILED(hr = m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow))) ||
        FAILED(hr =
                   m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pMediaSeeking))) ||
        FAILED(hr = m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent))) ||
        FAILED(hr = m_pGraph->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_pBasicVideo))))
        return Fail(hr);
    // A file without sound may leave the graph without audio control: that is not a failure.
    if (FAILED(m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pBasicAudio))))
        m_pBasicAudio = nullptr;

    if (flag)
        SGInitial();
    m_bBusy = TRUE; // SGInitial's error path clears it

    hr = m_pMediaSeeking->SetTimeFormat(frames ? &TIME_FORMAT_FRAME : &TIME_FORMAT_MEDIA_TIME);
    if (FAILED(hr) && frames) {
        // The graph refuses frames (Wine's splitters do): stay on media time and derive frame counts
        // from the video's frame time instead.
        hr = m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
        m_bFramesDerived = SUCCEEDED(hr);
    }
    if (FAILED(hr))
        return Fail(hr);
    if (FAILED(hr = m_pMediaSeeking->GetTimeFormat(&m_guidTimeFormat)))
        return Fail(hr);

    hr = frames ? GetVideoInfo2(&m_VideoInfo) : GetVideoInfo(&m_VideoInfo);
    if (FAILED(hr))
        return Fail(hr);
    m_bBusy = TRUE;
    hr = m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(owner), WM_GRAPHBUILDER_NOTIFY, 0);
    if (FAILED(hr))
        return Fail(hr);
    m_bBusy = FALSE;
    m_hr = hr;
    return hr;
}

double CGraphBuilder::FrameTime100ns() {
    REFTIME seconds = 0;
    if (!m_pBasicVideo || FAILED(m_pBasicVideo->get_AvgTimePerFrame(&seconds)) || !(seconds > 0))
        return 0;
    return seconds * 1e7;
}

HRESULT CGraphBuilder::ConvertPosition(LONGLONG* out, const GUID* toFormat, LONGLONG value,
                                       const GUID* fromFormat) {
    *out = 0;
    if (SameGuid(*toFormat, *fromFormat)) {
        *out = value;
        return S_OK;
    }
    LONGLONG converted = kNotConverted;
    const HRESULT hr = m_pMediaSeeking->ConvertTimeFormat(&converted, toFormat, value, fromFormat);
    if (SUCCEEDED(hr) && converted != kNotConverted) {
        *out = converted;
        return hr;
    }
    // Wine answers S_OK without converting (or refuses): relate frames and media time ourselves.
    const double frameTime = FrameTime100ns();
    if (frameTime > 0) {
        if (SameGuid(*fromFormat, TIME_FORMAT_MEDIA_TIME) && SameGuid(*toFormat, TIME_FORMAT_FRAME)) {
            *out = std::llround(static_cast<double>(value) / frameTime);
            return S_OK;
        }
        if (SameGuid(*fromFormat, TIME_FORMAT_FRAME) && SameGuid(*toFormat, TIME_FORMAT_MEDIA_TIME)) {
            *out = std::llround(static_cast<double>(value) * frameTime);
            return S_OK;
        }
    }
    return FAILED(hr) ? hr : E_FAIL;
}

HRESULT CGraphBuilder::ReadCommonInfo(_LITEVIDEOINFO* info, LONGLONG* duration) {
    *info = _LITEVIDEOINFO();
    DWORD capabilities = 0;
    HRESULT hr = m_pMediaSeeking->GetCapabilities(&capabilities);
    if (FAILED(hr))
        return Fail(hr);
    info->bCanSeekForward =
        (capabilities & (AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards)) ? 1 : 0;
    info->bCanSeekBackward =
        (capabilities & (AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekBackwards)) ? 1 : 0;
    GUID format;
    if (FAILED(hr = m_pMediaSeeking->GetTimeFormat(&format)))
        return Fail(hr);
    *duration = 0;
    if (FAILED(hr = m_pMediaSeeking->GetDuration(duration)))
        return Fail(hr);
    return hr;
}

void CGraphBuilder::ReadSizeAndSound(_LITEVIDEOINFO* info) {
    if (m_pBasicVideo)
        m_pBasicVideo->GetVideoSize(&info->nWidth, &info->nHeight);
    if (m_pBasicAudio) {
        qel::ComPtr<IBaseFilter> renderer;
        if (m_pGraph->FindFilterByName(L"Default DirectSound Device", &renderer) == S_OK)
            info->bHasAudio = 1;
    }
}

HRESULT CGraphBuilder::GetVideoInfo(_LITEVIDEOINFO* info) {
    if (!info || !m_pMediaSeeking)
        return E_INVALIDARG;
    LONGLONG duration = 0;
    const HRESULT hr = ReadCommonInfo(info, &duration);
    if (FAILED(hr))
        return hr;
    GUID format = m_guidTimeFormat;
    m_pMediaSeeking->GetTimeFormat(&format);
    // Conversion results are not checked: a length that cannot be converted stays 0.
    if (m_pMediaSeeking->IsUsingTimeFormat(&TIME_FORMAT_MEDIA_TIME) != S_OK)
        ConvertPosition(&info->llDuration, &TIME_FORMAT_MEDIA_TIME, duration, &format);
    else
        info->llDuration = duration;
    if (m_pMediaSeeking->IsUsingTimeFormat(&TIME_FORMAT_FRAME) != S_OK)
        ConvertPosition(&info->llFrames, &TIME_FORMAT_FRAME, duration, &format);
    else
        info->llFrames = duration;
    ReadSizeAndSound(info);
    return hr;
}

HRESULT CGraphBuilder::GetVideoInfo2(_LITEVIDEOINFO* info) {
    if (!info || !m_pMediaSeeking)
        return E_INVALIDARG;
    LONGLONG duration = 0;
    const HRESULT hr = ReadCommonInfo(info, &duration);
    if (FAILED(hr))
        return hr;
    // An ASF file reports its preroll (700000 units) within its length.
    const WCHAR* extension = wcsrchr(m_szFile, L'.');
    WCHAR upper[MAX_PATH] = L"";
    if (extension) {
        wcsncpy(upper, extension, MAX_PATH - 1);
        CharUpperW(upper);
    }
    if (wcsstr(upper, L".ASF") && duration > 700000)
        duration -= 700000;
    if (m_bFramesDerived) {
        // Media time stands in for frames: give each field its own unit.
        info->llDuration = duration;
        ConvertPosition(&info->llFrames, &TIME_FORMAT_FRAME, duration, &TIME_FORMAT_MEDIA_TIME);
    } else {
        info->llFrames = duration;
        info->llDuration = duration;
    }
    ReadSizeAndSound(info);
    return hr;
}
