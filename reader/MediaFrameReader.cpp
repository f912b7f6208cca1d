// The reader's identity, the open sequence, closing, and the format and name queries.
#include "MediaFrameReader.h"

#include <cstring>
#include <new>

#include "GraphHelper.h"
#include "ReaderClsids.h"
#include "media_kind.h"

namespace {

// The filter's graph name in the ANSI code page ("" when it has none).
void TakeFilterName(IBaseFilter* filter, char (&name)[MAX_PATH]) {
    name[0] = 0;
    FILTER_INFO info = {};
    if (!filter || FAILED(filter->QueryFilterInfo(&info)))
        return;
    if (info.pGraph)
        info.pGraph->Release();
    WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, MAX_PATH, nullptr, nullptr);
    name[MAX_PATH - 1] = 0;
}

bool FileIsEmpty(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
           data.nFileSizeLow == 0;
}

} // namespace

CGraphHelper& ReaderGraphHelper() {
    static CGraphHelper helper;
    return helper;
}

HRESULT ReaderGraph::Create() {
    Release();
    HRESULT hr = CoCreateInstance(qelclsid::kCaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(builder.GetAddressOf()));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(graph.GetAddressOf()));
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(graph.Get());
    if (SUCCEEDED(hr))
        hr = graph.As(&control);
    if (SUCCEEDED(hr))
        hr = graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()));
    if (SUCCEEDED(hr))
        hr = graph.As(&seeking);
    if (SUCCEEDED(hr))
        hr = seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    if (FAILED(hr))
        Release();
    return hr;
}

void ReaderGraph::Release() {
    dvrSeeking.Reset();
    seeking.Reset();
    events.Reset();
    control.Reset();
    builder.Reset();
    graph.Reset();
}

CUnknown* CALLBACK CMediaFrameReader::CreateInstance(IUnknown* outer, HRESULT* hr) {
    CMediaFrameReader* reader = new (std::nothrow) CMediaFrameReader(outer);
    if (!reader)
        *hr = E_OUTOFMEMORY;
    return reader;
}

CMediaFrameReader::CMediaFrameReader(IUnknown* outer) : CUnknown("Q&l - Reader", outer) {}

CMediaFrameReader::~CMediaFrameReader() { CloseAll(); }

HRESULT STDMETHODCALLTYPE CMediaFrameReader::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMediaFrameReader || riid == IID_IMediaFrameReaderAlias)
        return GetInterface(static_cast<IMediaFrameReader*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::OpenFileHalfRes(const char* path) { return Open(path, false, false); }
HRESULT STDMETHODCALLTYPE CMediaFrameReader::OpenFile(const char* path) { return Open(path, true, false); }
HRESULT STDMETHODCALLTYPE CMediaFrameReader::OpenFileEx(const char* path) { return Open(path, true, true); }

HRESULT CMediaFrameReader::Open(const char* path, bool dvFull, bool describeOnly) {
    CAutoLock hold(&readerLock_);
    CloseAll();
    HRESULT hr = video_.Create();
    if (FAILED(hr))
        return hr;
    if (!path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return ERROR_FILE_NOT_FOUND;
    if (FileIsEmpty(path)) {
        ReaderGraphHelper().Log("File %s file size is 0.", path);
        return E_FAIL;
    }
    if (qelreader::IsWindowsMediaPath(path) && QuerySeekable(path, &seekable_) == S_OK && !seekable_) {
        ReaderGraphHelper().Log("Error: File %s cannot seek", path);
        return E_FAIL;
    }

    bool describeAudio = describeOnly;
    const HRESULT videoResult = AutoRenderVideoStream(path, dvFull, &describeAudio);
    if (videoResult == ERROR_CANT_ACCESS_FILE)
        return videoResult;
    const bool videoOk = videoResult == S_OK;
    if (videoOk) {
        if (!seekable_) {
            CloseAll();
            return STG_E_SEEKERROR;
        }
        qel::ComPtr<IBaseFilter> decoder = qel::TakeOver(ReaderGraphHelper().FindStreamFilter(video_.graph.Get(), TRUE));
        TakeFilterName(decoder.Get(), videoFilterName_);
        frameCopied_.Renew();
        sampleArrived_.Renew();
        videoCallback_.SetEvents(sampleArrived_.Get(), frameCopied_.Get());
        m_nFrameNo = -1;
        if (kind_ == qelreader::kKindWindowsMedia) {
            // The Windows Media source starts late: park its first sample (paced, not armed) so that
            // frame 0 is at hand.
            videoCallback_.SetArmed(false);
            videoCallback_.SetPaced(true);
            if (SUCCEEDED(video_.control->Run())) {
                videoState_ = GraphState::Running;
                if (WaitForSingleObject(sampleArrived_.Get(), 500) == WAIT_OBJECT_0) {
                    m_nFrameNo = 0;
                    // The parked sample is delivered later; the event must be seen again then.
                    SetEvent(sampleArrived_.Get());
                }
            }
            if (m_nFrameNo != 0) {
                videoCallback_.SetPaced(false);
                videoCallback_.SetArmed(false);
                VideoStop();
            }
        }
    }

    bool audioOk = false;
    if (describeOnly && !videoOk && !describeAudio)
        return ERROR_OPEN_FAILED;
    if (describeOnly && videoOk && describeAudio) {
        audioOk = hasAudio_ != FALSE; // described from the video graph
    } else {
        HRESULT audioResult = audio_.Create();
        if (SUCCEEDED(audioResult)) {
            audioResult = AutoRenderAudioStream(path);
            if (audioResult == VFW_S_AUDIO_NOT_RENDERED || audioResult == VFW_E_NO_AUDIO_HARDWARE)
                audioResult = RenderAudioBySplitter(path);
        }
        if (audioResult == ERROR_CANT_ACCESS_FILE)
            return audioResult;
        audioOk = audioResult == S_OK;
        if (audioOk) {
            qel::ComPtr<IBaseFilter> decoder = qel::TakeOver(ReaderGraphHelper().FindStreamFilter(audio_.graph.Get(), FALSE));
            TakeFilterName(decoder.Get(), audioFilterName_);
            if (describeOnly && hasVideo_) {
                // Only described: the format, the mark and the name stay, the graph goes.
                TakeDown(audio_);
                audio_.Release();
                audioCallback_.FreeBuffer();
            }
        }
    }
    return videoOk || audioOk ? S_OK : ERROR_OPEN_FAILED;
}

void CMediaFrameReader::TakeDown(ReaderGraph& graph) {
    if (!graph.graph)
        return;
    if (graph.control)
        graph.control->Stop();
    CGraphHelper& helper = ReaderGraphHelper();
    qel::ComPtr<IBaseFilter> source = qel::TakeOver(helper.FindSourceFilter(graph.graph.Get()));
    if (source) {
        helper.RemoveDownstream(graph.graph.Get(), source.Get());
        graph.graph->RemoveFilter(source.Get());
    }
    helper.RemoveUnconnectedFilters(graph.graph.Get());
}

void CMediaFrameReader::CloseVideo() {
    videoCallback_.SetArmed(false);
    videoCallback_.SetPaced(false);
    videoCallback_.SetSkip(0);
    VideoStop();
    videoCallback_.SetEvents(nullptr, nullptr);
    frameCopied_.Reset();
    sampleArrived_.Reset();
    TakeDown(video_);
    video_.Release();
    videoCallback_.FreeBuffer();
    videoFormat_ = VIDEOINFO{};
    videoDuration_ = -1.0;
    hasVideo_ = FALSE;
    frameTimeGuessed_ = false;
    atEnd_ = false;
    m_nFrameNo = -1;
    videoFilterName_[0] = 0;
}

void CMediaFrameReader::CloseAudio() {
    audioCallback_.SetCollecting(false);
    TakeDown(audio_);
    audio_.Release();
    audioCallback_.FreeBuffer();
    audioFormat_ = WAVEFORMATEX{};
    hasAudio_ = FALSE;
    audioDuration_ = -1.0;
    audioFilterName_[0] = 0;
}

void CMediaFrameReader::CloseAll() {
    CloseVideo();
    CloseAudio();
    kind_ = 0;
    seekable_ = TRUE;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::GetVideoFormat(VIDEOINFO* format) {
    if (!format)
        return E_POINTER;
    std::memset(format, 0, sizeof *format);
    if (!hasVideo_)
        return E_FAIL;
    *format = videoFormat_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::GetAudioFormat(WAVEFORMATEX* format) {
    if (!format)
        return E_POINTER;
    std::memset(format, 0, sizeof *format);
    if (!hasAudio_)
        return E_FAIL;
    *format = audioFormat_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::GetFileType(int* kind) {
    if (!kind)
        return E_FAIL;
    *kind = kind_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::GetStreamFilterNames(char* video, int* videoLength, char* audio,
                                                                  int* audioLength) {
    if (!videoLength && !audioLength)
        return E_FAIL;
    // No terminator is written: callers pass the length they want filled.
    auto give = [](const char* name, char* buffer, int* length) {
        const int nameLength = static_cast<int>(std::strlen(name));
        if (!buffer) {
            *length = nameLength;
            return;
        }
        const int count = *length < nameLength ? *length : nameLength;
        if (count > 0)
            std::memcpy(buffer, name, static_cast<size_t>(count));
    };
    if (videoLength && hasVideo_)
        give(videoFilterName_, video, videoLength);
    if (audioLength && hasAudio_)
        give(audioFilterName_, audio, audioLength);
    return S_OK;
}
