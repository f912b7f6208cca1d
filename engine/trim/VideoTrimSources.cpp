// A clip's file and times, and reading a file's media information.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "SeekingTime.h"
#include "TrimChecks.h"
#include "TrimLog.h"
#include "TrimObjects.h"

namespace {

constexpr wchar_t kSoundRendererName[] = L"Default DirectSound Device";
constexpr DWORD kCanSeekForwardMask = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards;
constexpr DWORD kCanSeekBackwardMask = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekBackwards;

HRESULT CreateFileGraph(qel::ComPtr<IGraphBuilder>& graph) {
    return CreateTrimObject(CLSID_FilterGraph, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                            reinterpret_cast<void**>(graph.ReleaseAndGetAddressOf()));
}

// The value in `format`: copied when the graph uses it, else converted (with the frame-time fallback).
void ReadInFormat(IMediaSeeking* seeking, IBasicVideo* video, const GUID& format, LONGLONG value,
                  const GUID& current, LONGLONG* out) {
    ConvertSeekingTime(seeking, video, out, &format, value, &current);
}

} // namespace

BOOL CVideoTrim::IsValidClass(CTrimSource* source) const {
    return source && source->GetThisObj();
}

void CVideoTrim::SetFileInfoToSrc(CTrimSource* source, LONGLONG duration, long width, long height) {
    if (!source)
        return;
    source->m_llDuration = duration;
    source->m_nWidth = width;
    source->m_nHeight = height;
}

HRESULT CVideoTrim::SetSrcFile(CTrimSource* source, wchar_t* file, BOOL probe, LONGLONG duration, long width,
                               long height) {
    if (!IsValidClass(source))
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    if (probe) {
        if (FAILED(hr = WriteMediaInfoToSrc(source, file))) {
            TRIM_LOG(hr);
            return hr;
        }
    } else {
        SetFileInfoToSrc(source, duration, width, height);
    }
    qel::ComPtr<IAMTimelineSrc> node;
    if (FAILED(hr = QueryInto(source->GetThisObj(), node))) {
        TRIM_LOG(hr);
        return hr;
    }
    BSTR name = SysAllocString(file);
    if (file && !name)
        return E_OUTOFMEMORY;
    hr = node->SetMediaName(name);
    SysFreeString(name);
    if (FAILED(hr))
        TRIM_LOG(hr);
    return hr;
}

HRESULT CVideoTrim::WriteMediaInfoToSrc(CTrimSource* source, wchar_t* file) {
    qel::ComPtr<IGraphBuilder> graph;
    HRESULT hr = CreateFileGraph(graph);
    if (FAILED(hr) || FAILED(hr = graph->RenderFile(file, nullptr))) {
        TRIM_LOG(hr);
        return hr;
    }
    qel::ComPtr<IMediaSeeking> seeking;
    if (FAILED(hr = QueryInto(graph.Get(), seeking))) {
        TRIM_LOG(hr);
        return hr;
    }
    GUID format = TIME_FORMAT_MEDIA_TIME;
    LONGLONG duration = 0;
    const HRESULT formatResult = seeking->GetTimeFormat(&format);
    const HRESULT durationResult = seeking->GetDuration(&duration);
    if (FAILED(formatResult) || FAILED(durationResult)) {
        TRIM_LOG(formatResult | durationResult);
        return formatResult | durationResult;
    }
    qel::ComPtr<IBasicVideo> video;
    QueryInto(graph.Get(), IID_IBasicVideo, video);
    ReadInFormat(seeking.Get(), video.Get(), TIME_FORMAT_FRAME, duration, format, &source->m_llFrames);
    ReadInFormat(seeking.Get(), video.Get(), TIME_FORMAT_MEDIA_TIME, duration, format, &source->m_llDuration);
    long width = 0, height = 0;
    if (!video || FAILED(video->GetVideoSize(&width, &height)))
        width = height = 0;
    source->m_nWidth = width;
    source->m_nHeight = height;
    return S_OK;
}

HRESULT CVideoTrim::SetDuration(CTrimSource* source, LONGLONG timelineStart, LONGLONG timelineStop,
                                LONGLONG mediaStart, LONGLONG mediaStop) {
    if (!IsValidClass(source) || !qeltrim::AreClipTimesValid(timelineStart, timelineStop, mediaStart, mediaStop))
        return E_INVALIDARG;
    qel::ComPtr<IAMTimelineSrc> node;
    HRESULT hr = QueryInto(source->GetThisObj(), node);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    if (FAILED(hr = node->SetMediaTimes(mediaStart, mediaStop)))
        TRIM_LOG(hr);
    if (FAILED(hr = source->GetThisObj()->SetStartStop(timelineStart, timelineStop)))
        TRIM_LOG(hr);
    source->m_llTimelineStart = timelineStart;
    source->m_llTimelineStop = timelineStop;
    source->SetMediaRange(mediaStart, mediaStop);
    return S_OK;
}

int CVideoTrim::GetMediaInfo(wchar_t* file, _TrimMediaInfo* info) {
    if (!file || !info)
        return 0;
    *info = _TrimMediaInfo();
    qel::ComPtr<IGraphBuilder> graph;
    if (FAILED(CreateFileGraph(graph)))
        return 0;
    HRESULT hr = graph->RenderFile(file, nullptr);
    if (hr != S_OK)
        return hr;
    qel::ComPtr<IMediaSeeking> seeking;
    DWORD capabilities = 0;
    if (FAILED(hr = QueryInto(graph.Get(), seeking)) || FAILED(hr = seeking->GetCapabilities(&capabilities)))
        return hr;
    seeking->SetTimeFormat(&TIME_FORMAT_FRAME);
    info->bCanSeekForward = (capabilities & kCanSeekForwardMask) ? TRUE : FALSE;
    info->bCanSeekBackward = (capabilities & kCanSeekBackwardMask) ? TRUE : FALSE;
    qel::ComPtr<IBasicVideo> video;
    QueryInto(graph.Get(), IID_IBasicVideo, video);
    if (capabilities & AM_SEEKING_CanGetDuration) {
        GUID format = TIME_FORMAT_MEDIA_TIME;
        LONGLONG duration = 0;
        const HRESULT formatResult = seeking->GetTimeFormat(&format);
        const HRESULT durationResult = seeking->GetDuration(&duration);
        if (FAILED(formatResult) || FAILED(durationResult))
            return formatResult | durationResult;
        if (seeking->IsFormatSupported(&TIME_FORMAT_MEDIA_TIME) == S_OK)
            ReadInFormat(seeking.Get(), video.Get(), TIME_FORMAT_MEDIA_TIME, duration, format, &info->llDuration);
        if (seeking->IsFormatSupported(&TIME_FORMAT_FRAME) == S_OK)
            ReadInFormat(seeking.Get(), video.Get(), TIME_FORMAT_FRAME, duration, format, &info->llFrames);
        // Graphs without the frame format (Wine's) give no count: derive it from the frame time.
        if (info->llFrames == 0 && info->llDuration > 0)
            ReadInFormat(seeking.Get(), video.Get(), TIME_FORMAT_FRAME, info->llDuration, TIME_FORMAT_MEDIA_TIME,
                         &info->llFrames);
    }
    seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    info->bHasVideo = TRUE;
    if (!video) {
        info->bHasVideo = FALSE;
    } else if (FAILED(video->GetVideoSize(&info->nWidth, &info->nHeight))) {
        info->nWidth = info->nHeight = 0;
        info->bHasVideo = FALSE;
    } else {
        video->get_BitRate(&info->nBitRate);
    }
    qel::ComPtr<IBasicAudio> audio;
    qel::ComPtr<IBaseFilter> soundRenderer;
    const HRESULT audioResult = QueryInto(graph.Get(), IID_IBasicAudio, audio);
    const HRESULT rendererResult = graph->FindFilterByName(kSoundRendererName, soundRenderer.ReleaseAndGetAddressOf());
    if (SUCCEEDED(audioResult) && SUCCEEDED(rendererResult))
        info->bHasAudio = TRUE;
    return audioResult | rendererResult;
}
