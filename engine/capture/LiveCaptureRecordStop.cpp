// Ending a capture: stop the graph, keep its final statistics, end the limit watch, give back the
// record graph's plug-ins, bring the preview back.
#include "LiveCaptureInternal.h"

BOOL CLiveCapture::StopCapture() {
    if (m_state != LIVE_CAPTURING)
        return FALSE;
    IMediaControl* control = nullptr;
    m_hr = m_pGraph ? m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control))
                    : E_POINTER;
    if (SUCCEEDED(m_hr)) {
        // The camera first: some capture graphs crash when a source still delivers into a stopping
        // multiplexer. The graph then stops the rest, the file's headers last.
        if (m_pVideoCapFilter)
            m_pVideoCapFilter->Stop();
        // The final figures, read once the camera has sent its last frame and before the graph
        // stops it again (a graph manager may pause it on the way, which starts its counts afresh).
        m_bLastCaptureInfoKept = xReadCaptureStatistics(&m_lastCaptureInfo);
        m_hr = control->Stop();
        control->Release();
    }
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return FALSE; // still capturing
    }
    m_state = LIVE_STOPPED;
    xStopPollingThread();
    xReleaseCapEffFilters();
    xReleasePreEffFilters();
    if (m_bWantPreview && BuildPreviewGraph())
        StartPreview();
    return TRUE;
}
