// Reading single frames: from the buffer, by letting the running graph go on, by seeking to a frame
// index or a time, and the last frame once the end was passed. The video graph's state changes live
// here too: each first wakes a parked streaming thread, and a stop first clears the pace, as a stop
// waits for that thread.
#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderGraphParts.h"
#include "ReaderTestSeams.h"
#include "media_kind.h"

#include <atomic>

namespace {

#ifdef QEL_TEST_SEAMS
std::atomic<qelreader::seams::VideoGraphRanHook> g_videoGraphRan{nullptr};
#endif

constexpr DWORD kFirstWaitMs = 500;
constexpr DWORD kSecondWaitMs = 4500;

} // namespace

#ifdef QEL_TEST_SEAMS
qelreader::seams::VideoGraphRanHook qelreader::seams::SetVideoGraphRanHook(VideoGraphRanHook hook) {
    return g_videoGraphRan.exchange(hook);
}
#endif

double CMediaFrameReader::FrameSeconds() const { return static_cast<double>(videoFormat_.AvgTimePerFrame) * 1e-7; }

LONGLONG CMediaFrameReader::FrameAt(double seconds) const {
    const double frameTime = FrameSeconds();
    return frameTime > 0 ? static_cast<LONGLONG>(seconds / frameTime + 0.5) : 0;
}

HRESULT CMediaFrameReader::VideoPause() {
    videoCallback_.Wake();
    if (!video_.control)
        return E_FAIL;
    const HRESULT hr = video_.control->Pause();
    if (SUCCEEDED(hr))
        videoState_ = GraphState::Paused;
    return hr;
}

HRESULT CMediaFrameReader::VideoRun() {
    videoCallback_.Wake();
    if (!video_.control)
        return E_FAIL;
    const HRESULT hr = video_.control->Run();
    if (SUCCEEDED(hr))
        videoState_ = GraphState::Running;
#ifdef QEL_TEST_SEAMS
    if (const auto hook = g_videoGraphRan.load())
        hook();
#endif
    return hr;
}

HRESULT CMediaFrameReader::VideoStop() {
    videoCallback_.SetPaced(false);
    videoCallback_.Wake();
    if (!video_.control)
        return E_FAIL;
    const HRESULT hr = video_.control->Stop();
    if (SUCCEEDED(hr))
        videoState_ = GraphState::Stopped;
    return hr;
}

void CMediaFrameReader::ReleaseParkedFrame() {
    videoCallback_.SetArmed(false);
    videoCallback_.SetPaced(false);
    videoCallback_.SetSkip(0);
    videoCallback_.Wake();
    m_nFrameNo = -1;
}

bool CMediaFrameReader::SampleArrivesWithin(DWORD milliseconds) {
    if (!sampleArrived_ || WaitForSingleObject(sampleArrived_.Get(), milliseconds) != WAIT_OBJECT_0)
        return false;
    // The sample is still parked: the mark stays for whoever looks next.
    SetEvent(sampleArrived_.Get());
    return true;
}

bool CMediaFrameReader::CompletedAmongPendingEvents() {
    // Reads the whole queue, also to leave no stale end behind for the next run.
    if (!video_.events)
        return false;
    bool completed = false;
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (video_.events->GetEvent(&code, &first, &second, 0) == S_OK) {
        completed = completed || code == EC_COMPLETE;
        video_.events->FreeEventParams(code, first, second);
    }
    return completed;
}

HRESULT STDMETHODCALLTYPE CMediaFrameReader::ReadVideoFrame(double position, HGLOBAL* frame) {
    CAutoLock hold(&readerLock_);
    if (!frame)
        return E_POINTER;
    *frame = nullptr;
    if (!hasVideo_ || !video_.graph)
        return E_FAIL;
    const bool byIndex = position <= 0;
    LONGLONG index = 0;
    double time = position;
    if (byIndex) {
        const double frames = -position;
        index = frames < 9.2e18 ? static_cast<LONGLONG>(frames) : 0;
        time = static_cast<double>(videoFormat_.AvgTimePerFrame) * 1e-7 * static_cast<double>(index);
    }
    double duration = 0;
    HRESULT hr = get_Duration(&duration, READER_STREAM_VIDEO);
    if (FAILED(hr)) {
        ReaderGraphHelper().Log("Error %x: Cannot get duration", hr);
        return hr;
    }
    const double frameStart = time;
    if (time > duration) {
        ReaderGraphHelper().Log("dbCurSampleStartTime(%d) > dbDuration(%d)", static_cast<int>(time), static_cast<int>(duration));
        time = duration;
    }

    HGLOBAL block = nullptr;
    hr = E_FAIL;
    if (byIndex) {
        if (videoCallback_.HasFrame()) {
            const bool exactTime = kind_ != qelreader::kKindWindowsMedia && !frameTimeGuessed_;
            if (m_nFrameNo == -1 || exactTime) {
                if (m_nFrameNo != -1 && index == m_nFrameNo - 1)
                    block = videoCallback_.MakeFrameBlock();
            } else {
                const double buffered = videoCallback_.BufferedTime();
                const bool seenNewer = !videoCallback_.Paced() ||
                                       buffered < videoCallback_.LastSampleTime() ||
                                       SampleArrivesWithin(kFirstWaitMs);
                // Read after the wait: a sample that arrived during it is the one to compare with.
                const double lastSeen = videoCallback_.LastSampleTime();
                // Compared as frame numbers: a source's times may be off by a hair.
                if (seenNewer && index < FrameAt(lastSeen) && index >= FrameAt(buffered))
                    block = videoCallback_.MakeFrameBlock();
            }
            if (block)
                hr = S_OK;
        }
        // A frame that would start at or after the end: the end of the stream, without a seek that
        // the splitter may answer with nothing at all.
        if (!block && frameStart >= duration)
            hr = ERROR_HANDLE_EOF;
        else if (!block)
            hr = ReadFrameByIndex(index, &block);
        if (block) {
            atEnd_ = false;
            m_nFrameNo = index + 1;
            *frame = block;
            return S_OK;
        }
    }
    m_nFrameNo = -1;
    if (byIndex && hr == ERROR_HANDLE_EOF) {
        if (!atEnd_) {
            hr = ReadLastFrame(&block);
            if (block)
                atEnd_ = true;
        } else {
            block = videoCallback_.MakeFrameBlock();
            hr = ERROR_HANDLE_EOF;
        }
    } else {
        hr = ReadFrameByTime(time, &block);
        if (block)
            atEnd_ = false;
    }
    *frame = block;
    return hr;
}

HRESULT CMediaFrameReader::ReadFrameByIndex(LONGLONG index, HGLOBAL* frame) {
    if (!video_.graph || !video_.control)
        return E_FAIL;
    CGraphHelper& log = ReaderGraphHelper();
    const double lastSeen = videoCallback_.LastSampleTime();
    bool goOn = false;
    if (m_nFrameNo != -1) {
        if (kind_ != qelreader::kKindWindowsMedia && !frameTimeGuessed_)
            goOn = m_nFrameNo <= index && index <= m_nFrameNo + 10 &&
                   (!videoCallback_.Paced() || lastSeen > videoCallback_.BufferedTime() || SampleArrivesWithin(kFirstWaitMs));
        else
            goOn = index == FrameAt(lastSeen); // the index's time lies in [last seen, last seen + a frame)
    }
    HRESULT hr = S_OK;
    if (goOn) {
        videoCallback_.SetSkip(static_cast<long>(index - m_nFrameNo));
        ResetEvent(frameCopied_.Get());
        videoCallback_.SetPaced(true);
        videoCallback_.SetArmed(true);
    } else {
        log.Log("nFrameNo = %d, m_nFrameNo = %d", static_cast<int>(index), static_cast<int>(m_nFrameNo));
        double duration = 0;
        QueryDuration(video_, &duration);
        videoCallback_.SetSkip(0);
        videoCallback_.SetPaced(false);
        videoCallback_.SetArmed(false);
        // Stopped, not paused: a paused graph delivers the sought frame at once, before the grabber is
        // armed for it, and the frame after it would be taken instead.
        VideoStop();
        CompletedAmongPendingEvents(); // an end from an earlier run must not be taken for this one's
        IMediaSeeking* seeking = video_.Seeking();
        if (!seeking)
            return E_FAIL;
        LONGLONG current = videoFormat_.AvgTimePerFrame * index;
        LONGLONG stop = static_cast<LONGLONG>(duration * 10000000.0);
        if (FAILED(hr = seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, &stop, AM_SEEKING_AbsolutePositioning))) {
            log.Log("Error %x: Cannot put the current and stop time for video stream", hr);
            return hr;
        }
        videoCallback_.SetPaced(true);
        videoCallback_.SetArmed(true);
        ResetEvent(frameCopied_.Get());
        if (FAILED(hr = VideoRun())) {
            log.Log("Error %x: ReadVideoFrame() - m_pVMC->Play() failed", hr);
            videoCallback_.SetArmed(false);
            return hr;
        }
    }
    videoCallback_.Wake();
    DWORD waited = WaitForSingleObject(frameCopied_.Get(), kFirstWaitMs);
    if (waited == WAIT_TIMEOUT) {
        if (CompletedAmongPendingEvents()) {
            videoCallback_.SetArmed(false);
            videoCallback_.SetPaced(false);
            return ERROR_HANDLE_EOF;
        }
        waited = WaitForSingleObject(frameCopied_.Get(), kSecondWaitMs);
    }
    if (waited == WAIT_OBJECT_0 && videoCallback_.HasFrame())
        *frame = videoCallback_.MakeFrameBlock();
    videoCallback_.SetArmed(false);
    return *frame ? S_OK : E_FAIL;
}

HRESULT CMediaFrameReader::ReadFrameByTime(double seconds, HGLOBAL* frame) {
    if (!video_.graph || !video_.control)
        return E_FAIL;
    CGraphHelper& log = ReaderGraphHelper();
    double duration = 0;
    HRESULT hr = QueryDuration(video_, &duration);
    if (FAILED(hr)) {
        log.Log("Error %x: Cannot get duration", hr);
        return hr;
    }
    videoCallback_.SetArmed(false);
    videoCallback_.SetPaced(false);
    videoCallback_.SetSkip(0);
    // From a stopped graph, so that the first sample after the seek is the one the grabber is armed for.
    if (FAILED(hr = VideoStop())) {
        log.Log("Error %x: ReadVideoFrame() - m_pVMC->Pause() failed", hr);
        return hr;
    }
    if (seconds > duration)
        seconds = duration;
    // Seek to the start of the frame shown at that time: a seek inside a frame makes the splitter
    // deliver it with a negative time, which the grabber ignores. The end shows the last frame.
    const LONGLONG frameUnits = videoFormat_.AvgTimePerFrame;
    const LONGLONG durationUnits = static_cast<LONGLONG>(duration * 10000000.0 + 0.5);
    LONGLONG target = static_cast<LONGLONG>(seconds * 10000000.0 + 0.5);
    if (frameUnits > 0) {
        target -= target % frameUnits;
        if (target >= durationUnits && durationUnits >= frameUnits)
            target = (durationUnits - 1) / frameUnits * frameUnits;
    }
    IMediaSeeking* seeking = video_.Seeking();
    hr = seeking ? seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning) : E_NOTIMPL;
    if (FAILED(hr)) {
        log.Log("Error %x: ReadVideoFrame() - put_CurrentPosition() failed", hr);
        return hr;
    }
    videoCallback_.SetArmed(true);
    videoCallback_.SetPaced(false);
    ResetEvent(frameCopied_.Get());
    if (FAILED(hr = VideoPause())) {
        videoCallback_.SetArmed(false);
        log.Log("Error %x: ReadVideoFrame() - m_pVMC->Pause() failed", hr);
        return hr;
    }
    if (WaitForSingleObject(frameCopied_.Get(), kFirstWaitMs) == WAIT_OBJECT_0)
        *frame = videoCallback_.MakeFrameBlock();
    videoCallback_.SetArmed(false);
    return *frame ? S_OK : E_FAIL;
}

HRESULT CMediaFrameReader::ReadLastFrame(HGLOBAL* frame) {
    if (!video_.graph || !video_.control)
        return E_FAIL;
    CGraphHelper& log = ReaderGraphHelper();
    log.Log("End of File! Read the lastest video frame");
    double duration = 0;
    QueryDuration(video_, &duration);
    const double start = duration - 0.5 > 0 ? duration - 0.5 : (duration > 0 ? 0 : duration);
    videoCallback_.SetSkip(0);
    videoCallback_.SetPaced(false);
    videoCallback_.SetArmed(false);
    VideoStop();
    CompletedAmongPendingEvents();
    IMediaSeeking* seeking = video_.Seeking();
    if (!seeking)
        return E_FAIL;
    LONGLONG current = static_cast<LONGLONG>(start * 10000000.0);
    LONGLONG stop = static_cast<LONGLONG>(duration * 10000000.0);
    HRESULT hr = seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, &stop, AM_SEEKING_AbsolutePositioning);
    if (FAILED(hr))
        return hr;
    videoCallback_.SetArmed(true);
    if (SUCCEEDED(hr = VideoRun()))
        readerparts::WaitForGraphEnd(video_.events.Get(), kCompletionLimitMs);
    VideoStop();
    *frame = videoCallback_.MakeFrameBlock();
    videoCallback_.SetArmed(false);
    if (FAILED(hr))
        return hr;
    return *frame ? S_OK : E_FAIL;
}
