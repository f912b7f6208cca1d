// Ending a capture: stop the graph, keep its final statistics, end the limit watch, give back the
// record graph's plug-ins, bring the preview back.
#include "LiveCaptureInternal.h"

BOOL CLiveCapture::StopCapture() {
    if (m_state != LIVE_CAPTURING)
        return FALSE;
    qel::ComPtr<IMediaControl> control;
    m_hr = m_pGraph ? QueryInto(m_pGraph, IID_IMediaControl, control) : E_POINTER;
    if (SUCCEEDED(m_hr)) {
        // The camera first: some capture graphs crash when a source still delivers into a stopping
        // multiplexer. The graph then stops the rest, the file's headers last.
        if (m_pVideoCapFilter)
            m_pVideoCapFilter->Stop();
        // The final figures, read once the camera has sent its last frame and before the graph
        // stops it again (a graph manager may pause it on the way, which starts its counts afresh).
        m_bLastCaptureInfoKept = xReadCaptureStatistics(&m_lastCaptureInfo);
        m_hr = control->Stop();
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
    // The fallback multiplexer closes a recording that got no frame without its index (a camera lost
    // before its first frame): a file no reader opens and with no picture in it, removed rather
    // than left broken.
    if (m_bMuxNeedsFreshInput && m_bLastCaptureInfoKept && m_lastCaptureInfo.nFramesCaptured == 0) {
        TearDownGraph();   // the file sink lets go of the file
        if (!DeleteFileW(m_wszCaptureFile))
            LIVECAP_LOG(this, HRESULT_FROM_WIN32(GetLastError()));
    }
    xReleaseCapEffFilters();
    xReleasePreEffFilters();
    if (m_bWantPreview && BuildPreviewGraph())
        StartPreview();
    return stopped;
}
