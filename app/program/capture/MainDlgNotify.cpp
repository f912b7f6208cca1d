// The video engine's notifications and device-change broadcasts, which reach the main dialog's
// default window procedure: the engine calls the procedure it saved from this window.
#include "MainDlg.h"

#include <afxhook.h>
#include <dbt.h>

#include <Vostrel.h>

#include "MotionDetector.h"
#include "PanelTimers.h"
#include "WriteProblemText.h"

namespace {

// Imaging devices (cameras): their arrival needs nothing of the system's default handling.
const GUID kImagingDeviceClass = {0x6BDD1FC6, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};

bool IsCameraArrival(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL || !data)
        return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_A))
        return false;
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(data);
    return IsEqualGUID(device->dbcc_classguid, kImagingDeviceClass) != FALSE;
}

} // namespace

LRESULT CMainDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DEVICECHANGE:
        if (IsCameraArrival(wParam, lParam))
            return TRUE;
        break;
    case WM_LIVECAP_SNAPSHOT:
        OnSnapshotDone(wParam, lParam);
        break;
    case WM_LIVECAP_FILELIMIT:
        OnStopRecord();
        AfxShowMessageBox(m_hWnd, "File size is over 2GB.  Stop recording.", "Error", MB_OK);
        break;
    case WM_LIVECAP_DEVICELOST:
        OnDeviceLost();
        break;
    case WM_LIVECAP_LOWDISK:
        StopForLowDisk("Insufficient disk space", TRUE);
        break;
    default: // WM_LIVECAP_ERRORABORT among them: the engine has dealt with its graph
        break;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

void CMainDlg::OnSnapshotDone(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) {
        OnMotionFrame();
        return;
    }
    if (wParam != 0)
        return;
    // The engine's word (lParam 1 or 2) is for the panel's last snapshot; the scan's (lParam 0) for the
    // record it has just filled.
    if (lParam == 0) {
        OnScanRecord();
        return;
    }
    if (lParam == LIVECAP_SNAPSHOT_NOT_WRITTEN) {
        OnSnapshotNotWritten(m_capture.GetSnapshotError());
        return;
    }
    // Only a file that is there becomes an item: an empty one would look like a picture taken.
    if (::GetFileAttributesA(m_captureRecord.path) != INVALID_FILE_ATTRIBUTES)
        AddAlbumRecord(m_captureRecord, TRUE);
}

void CMainDlg::OnSnapshotNotWritten(DWORD error) {
    const qelapp::WriteProblem problem = qelapp::WhyNotWritten(m_captureRecord.path, error);
    // Every next snapshot of the watch would fail the same way, each with its box.
    if (m_recording && (m_timerId == kIntervalTimer || m_timerId == kMotionTimer)) {
        OnStopRecord();
        m_watchEndedUnwritten = TRUE;
    } else if (m_watchEndedUnwritten) {
        return; // a snapshot the ended watch had armed before its end: the cause is said already
    }
    ShowWriteProblem(problem);
}

// One box at a time: its own loop goes on dispatching what arrives meanwhile.
void CMainDlg::ShowWriteProblem(const qelapp::WriteProblem& problem) {
    if (m_writeBoxUp)
        return;
    m_writeBoxUp = TRUE;
    AfxShowMessageBox(m_hWnd, WriteProblemText(problem), "Error", MB_OK);
    m_writeBoxUp = FALSE;
}

void CMainDlg::OnMotionFrame() {
    if (!m_motionBuffer || m_timerId != kMotionTimer)
        return; // a frame of a watch that has already ended
    const CaptureSettings& settings = m_capture.Settings();
    int moved = 0;
    if (MD_Detect(m_motionBuffer, settings.outputWidth, settings.outputHeight, m_capture.GetMotionRowLength(),
                  &moved) != kMdOk ||
        !moved)
        return; // the motion timer arms the next frame
    // One snapshot, then a fresh watch with a new reference frame. The panel stays in its running state
    // throughout: hiding Stop even for a moment takes the mouse capture from a press that has just
    // reached it, and its release then makes no click, so the user's Stop would be lost.
    TakeSingleSnapshot();
    if (!m_recording)
        return; // the snapshot could not even be taken, which ended the watch
    EndCaptureTimer();
    StartMotionWatch();
}

// The engine's watch and the recording clock both see the disk fill, and go on reporting it: only the
// report that ends the capture is said. The panel is stopped before the box, as the box's own loop
// goes on dispatching the notices and ticks that keep arriving; those find nothing running.
void CMainDlg::StopForLowDisk(const char* text, BOOL fromEngine) {
    if (!m_recording)
        return;
    if (fromEngine)
        m_capture.StopRecording();
    OnStopRecord();
    if (m_lowDiskBoxUp)
        return; // a capture started meanwhile from outside: its stop is said by the box already up
    m_lowDiskBoxUp = TRUE;
    AfxShowMessageBox(m_hWnd, text, "Error", MB_OK);
    m_lowDiskBoxUp = FALSE;
}

void CMainDlg::OnDeviceLost() {
    m_capture.ShowLivePreview(FALSE);
    AfxShowMessageBox(m_hWnd, "Device Error! Tavorin will close.", "Error", MB_OK);
    // Through the dialog's own Close: the scan stops, a recording ends and [Enhance] is saved first.
    PostMessage(WM_CLOSE);
}
