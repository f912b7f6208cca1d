// Ending a capture: stop the graph, keep its final statistics, end the limit watch, give back the
// record graph's plug-ins, bring the preview back.
#include "LiveCaptureInternal.h"
#include "WriterGraphStop.h"
#include "recording_judge.h"

BOOL CLiveCapture::StopCapture() {
    if (m_state != LIVE_CAPTURING)
        return FALSE;
    m_hr = m_pGraph ? S_OK : E_POINTER;
    if (SUCCEEDED(m_hr)) {
        // The camera first, while the graph still runs (no frame of it waits in a paused renderer):
        // Wine's multiplexer takes samples without a lock or a state check while its stop lets go
        // of its output, so nothing may still deliver into it when it stops.
        if (m_pVideoCapFilter)
            m_pVideoCapFilter->Stop();
        // The final figures, read once the camera has sent its last frame and before the graph
        // stops it again (a graph manager may pause it on the way, which starts its counts afresh).
        m_bLastCaptureInfoKept = xReadCaptureStatistics(&m_lastCaptureInfo);
        // The rest stops from the pause, everything feeding the file before the file's writers: a
        // graph stopping from a run pauses every filter on its way, the camera too, and would stop
        // the multiplexer first.
        qel::ComPtr<IBaseFilter> sink;
        if (m_pFileSink)
            QueryInto(m_pFileSink, IID_IBaseFilter, sink);
        m_hr = StopWritingGraph(m_pGraph, {m_pMux, sink.Get()});
    }
    // A failed stop (a full disk, a lost device) still ends the capture: every filter is stopped
    // by hand, and the engine goes back to the preview as after any other stop.
    const BOOL stopped = SUCCEEDED(m_hr);
    if (!stopped) {
        LIVECAP_LOG(this, m_hr);
        StopEveryFilter(m_pGraph);
    }
    m_state = LIVE_STOPPED;
    m_bCaptureEnded = TRUE;
    xStopPollingThread();
    // A recording without a picture (a camera lost before its first frame) is removed rather than
    // left as a file no reader opens. Only the file itself tells: the camera's counters start afresh
    // when a graph manager pauses it and can say 0 of a recording full of frames. A file with a
    // video chunk is kept as it is; any other is judged again once the file sink has let go of it
    // (the multiplexer's last header writes made), and removed only if it is read to its end
    // without one.
    if (m_bMuxNeedsFreshInput && RecordedVideoOf(m_wszCaptureFile) != avirecovery::RecordedVideo::Frames) {
        TearDownGraph();
        if (RecordedVideoOf(m_wszCaptureFile) == avirecovery::RecordedVideo::None && !DeleteFileW(m_wszCaptureFile))
            LIVECAP_LOG(this, HRESULT_FROM_WIN32(GetLastError()));
    }
    xRestorePreview();   // the stop holds whether or not the preview came back
    return stopped;
}
