// The stream-flag methods: bit 2 (READER_STREAM_VIDEO) selects the video graph, bit 1 the audio graph.
#include "GraphHelper.h"
#include "MediaFrameReader.h"

namespace {

constexpr double kUnitsPerSecond = 10000000.0;

LONGLONG ToUnits(double seconds) { return static_cast<LONGLONG>(seconds * kUnitsPerSecond); }
double ToSeconds(LONGLONG units) { return static_cast<double>(units) / kUnitsPerSecond; }

} // namespace

HRESULT CMediaFrameReader::QueryDuration(ReaderGraph& graph, double* seconds) {
    IMediaSeeking* seeking = graph.Seeking();
    if (!seeking)
        return E_NOTIMPL;
    LONGLONG duration = 0;
    const HRESULT hr = seeking->GetDuration(&duration);
    *seconds = SUCCEEDED(hr) ? ToSeconds(duration) : 0.0;
    return hr;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::get_Duration(double* seconds, DWORD streams) {
    if (!seconds)
        return E_POINTER;
    *seconds = 0;
    const bool videoThere = hasVideo_ && video_.graph;
    const bool audioThere = hasAudio_ && audio_.graph;
    if (streams == READER_STREAM_VIDEO || streams == READER_STREAM_AUDIO) {
        const bool video = streams == READER_STREAM_VIDEO;
        if (!(video ? videoThere : audioThere))
            return ERROR_INVALID_PARAMETER;
        double& stored = video ? videoDuration_ : audioDuration_;
        const HRESULT hr = QueryDuration(video ? video_ : audio_, &stored);
        if (SUCCEEDED(hr))
            *seconds = stored;
        return hr;
    }
    if (streams != READER_STREAM_BOTH || !(videoThere || audioThere))
        return ERROR_INVALID_PARAMETER;
    // Both: each stream that is there is asked afresh; the longer one answers, never below 0.
    if (videoThere && QueryDuration(video_, &videoDuration_) == E_NOTIMPL)
        return E_NOTIMPL;
    if (audioThere && QueryDuration(audio_, &audioDuration_) == E_NOTIMPL)
        return E_NOTIMPL;
    const double longer = videoDuration_ > audioDuration_ ? videoDuration_ : audioDuration_;
    *seconds = longer < 0 ? 0 : longer;
    return S_OK;
}

void CMediaFrameReader::SeekSplitterDirectly(LONGLONG position, bool stopPosition) {
    // Wine's splitter takes a seek only through its first output pin, which the sound graph leaves
    // unconnected: the position goes to that pin as well. On Windows it is the same seek again.
    qel::ComPtr<IBaseFilter> splitter = FindKindSplitter(audio_.graph.Get());
    qel::ComPtr<IPin> first;
    if (!splitter || FAILED(ReaderGraphHelper().GetPin(splitter.Get(), PINDIR_OUTPUT, &first)))
        return;
    qel::ComPtr<IMediaSeeking> seeking;
    if (FAILED(first->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking.GetAddressOf()))))
        return;
    LONGLONG value = position;
    if (stopPosition)
        seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &value, AM_SEEKING_AbsolutePositioning);
    else
        seeking->SetPositions(&value, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

HRESULT CMediaFrameReader::SetPosition(double seconds, DWORD streams, bool stopPosition) {
    CAutoLock hold(&readerLock_);
    ReaderGraph* graphs[2] = {(streams & READER_STREAM_VIDEO) ? &video_ : nullptr,
                              (streams & READER_STREAM_AUDIO) ? &audio_ : nullptr};
    int selected = 0, done = 0;
    HRESULT last = ERROR_INVALID_PARAMETER;
    for (ReaderGraph* graph : graphs) {
        if (!graph)
            continue;
        ++selected;
        if (!graph->graph)
            continue;
        IMediaSeeking* seeking = graph->Seeking();
        if (!seeking)
            return E_NOTIMPL;
        LONGLONG duration = 0;
        if (FAILED(seeking->GetDuration(&duration)))
            return E_FAIL;
        if (graph == &video_)
            ReleaseParkedFrame();
        LONGLONG position = ToUnits(seconds);
        if (position < 0)
            position = 0;
        if (position > duration)
            position = duration;
        const HRESULT hr = stopPosition
                               ? seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &position, AM_SEEKING_AbsolutePositioning)
                               : seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
        if (FAILED(hr))
            return hr;
        if (graph == &audio_)
            SeekSplitterDirectly(position, stopPosition);
        last = hr;
        ++done;
    }
    if (selected == 1)
        return last;
    return selected == 2 && done == 2 ? S_OK : ERROR_INVALID_PARAMETER;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::put_CurrentPosition(double seconds, DWORD streams) {
    return SetPosition(seconds, streams, false);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::put_StopTime(double seconds, DWORD streams) {
    return SetPosition(seconds, streams, true);
}

namespace {

typedef HRESULT (STDMETHODCALLTYPE IMediaSeeking::*TimeGetter)(LONGLONG*);

// The getters' choice: video when it exists and is asked for, else audio, else none; the output is
// cleared first and holds the value in seconds on success.
HRESULT ReadTime(ReaderGraph& video, bool videoUsable, ReaderGraph& audio, bool audioUsable, DWORD streams,
                 double* out, TimeGetter getter) {
    if (!out)
        return E_POINTER;
    *out = 0;
    ReaderGraph* graph = nullptr;
    if (video.graph && videoUsable && (streams & READER_STREAM_VIDEO))
        graph = &video;
    else if (audio.graph && audioUsable && (streams & READER_STREAM_AUDIO))
        graph = &audio;
    if (!graph)
        return ERROR_INVALID_PARAMETER;
    IMediaSeeking* seeking = graph->Seeking();
    if (!seeking)
        return E_NOTIMPL;
    LONGLONG value = 0;
    const HRESULT hr = (seeking->*getter)(&value);
    if (SUCCEEDED(hr))
        *out = ToSeconds(value);
    return hr;
}

} // namespace

HRESULT STDMETHODCALLTYPE CMediaFrameReader::get_CurrentPosition(double* seconds, DWORD streams) {
    return ReadTime(video_, hasVideo_, audio_, hasAudio_, streams, seconds, &IMediaSeeking::GetCurrentPosition);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::get_StopTime(double* seconds, DWORD streams) {
    return ReadTime(video_, hasVideo_, audio_, hasAudio_, streams, seconds, &IMediaSeeking::GetStopPosition);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::get_PrerollTime(double* seconds, DWORD streams) {
    return ReadTime(video_, hasVideo_, audio_, hasAudio_, streams, seconds, &IMediaSeeking::GetPreroll);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::get_Rate(double* rate, DWORD streams) {
    if (!rate)
        return E_POINTER;
    *rate = 0;
    // The rate looks only at the graphs, not at the has-video and has-audio marks.
    ReaderGraph* graph = nullptr;
    if (video_.graph && (streams & READER_STREAM_VIDEO))
        graph = &video_;
    else if (audio_.graph && (streams & READER_STREAM_AUDIO))
        graph = &audio_;
    if (!graph)
        return ERROR_INVALID_PARAMETER;
    if (!graph->Seeking())
        return E_NOTIMPL;
    return graph->Seeking()->GetRate(rate);
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::put_Rate(double rate, DWORD streams) {
    CAutoLock hold(&readerLock_);
    int selected = 0;
    ReaderGraph* graphs[2] = {(streams & READER_STREAM_VIDEO) ? &video_ : nullptr,
                              (streams & READER_STREAM_AUDIO) ? &audio_ : nullptr};
    for (ReaderGraph* graph : graphs) {
        if (!graph)
            continue;
        ++selected;
        if (!graph->Seeking())
            return E_NOTIMPL;
        // A rate change of the running graph moves its streaming thread on like a seek.
        if (graph == &video_)
            ReleaseParkedFrame();
        const HRESULT hr = graph->Seeking()->SetRate(rate);
        if (FAILED(hr))
            return hr;
    }
    return selected > 0 ? S_OK : ERROR_INVALID_PARAMETER;
}
