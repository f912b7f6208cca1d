// The engine's notifications to its host: graph events drained and translated, and the direct call of
// the notify window's kept procedure.
#include "LiveCaptureInternal.h"

namespace {

bool IsDiskFull(HRESULT error) {
    return error == HRESULT_FROM_WIN32(ERROR_DISK_FULL) || error == HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL) ||
           error == STG_E_MEDIUMFULL;
}

} // namespace

LRESULT CLiveCapture::xNotifyHost(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_pfnNotifyProc)
        return 0;
    return CallWindowProcA(m_pfnNotifyProc, m_hNotifyWnd, message, wParam, lParam);
}

BOOL CLiveCapture::xIsVideoCaptureFilter(IUnknown* object) {
    if (!object || !m_pVideoCapFilter)
        return FALSE;
    qel::ComPtr<IBaseFilter> filter;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&filter))))
        return FALSE;
    qel::ComPtr<IUnknown> eventIdentity;
    qel::ComPtr<IUnknown> cameraIdentity;
    filter->QueryInterface(IID_PPV_ARGS(&eventIdentity));
    m_pVideoCapFilter->QueryInterface(IID_PPV_ARGS(&cameraIdentity));
    return eventIdentity && eventIdentity.Get() == cameraIdentity.Get();
}

BOOL CLiveCapture::HandleDirectShowNotify(long* message, long* wParam, long* lParam) {
    if (!m_pMediaEvent || !message || !wParam || !lParam)
        return FALSE;
    // Stopping a capture rebuilds the preview, which replaces the event interface: keep this one.
    const qel::ComPtr<IMediaEventEx> events = m_pMediaEvent;
    BOOL forward = FALSE;
    long forwardLParam = 0;
    while (!forward &&
           events->GetEvent(&m_lLastEventCode, &m_lLastEventParam1, &m_lLastEventParam2, 0) == S_OK) {
        const long code = m_lLastEventCode;
        const LONG_PTR first = m_lLastEventParam1, second = m_lLastEventParam2;
        switch (code) {
        case EC_ERRORABORT:
            if (m_state == LIVE_CAPTURING && IsDiskFull(static_cast<HRESULT>(first))) {
                // A full disk ends the recording as the low-disk watch does: the file is closed
                // while its closing writes still fit, and the preview comes back.
                LIVECAP_LOG(this, static_cast<HRESULT>(first));
                StopCapture();
                *message = WM_LIVECAP_LOWDISK;
                forwardLParam = 1;
                forward = TRUE;
                break;
            }
            if (m_state == LIVE_CAPTURING) {
                m_bWantPreview = FALSE;
                StopCapture();
            }
            LIVECAP_LOG(this, static_cast<HRESULT>(first));
            *message = WM_LIVECAP_ERRORABORT;
            forward = TRUE;
            break;
        case EC_STREAM_CONTROL_STOPPED:
            if (m_state == LIVE_CAPTURING) {
                StopCapture();
                *message = WM_LIVECAP_FILELIMIT;
                forward = TRUE;
            } else {
                LIVECAP_LOG(this, static_cast<HRESULT>(code));
            }
            break;
        case EC_DEVICE_LOST:
            // 0: removed (1 would be the device arriving again); only the camera's own loss counts.
            if (second == 0 && xIsVideoCaptureFilter(reinterpret_cast<IUnknown*>(first))) {
                m_bWantPreview = FALSE;
                StopCapture();
                *message = WM_LIVECAP_DEVICELOST;
                forward = TRUE;
            }
            break;
        default:
            break;
        }
        events->FreeEventParams(code, first, second);
    }
    if (forward) {
        *wParam = 0;
        *lParam = forwardLParam;
    }
    return forward;
}
