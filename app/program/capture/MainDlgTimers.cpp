// The main dialog's timers (recording clock, motion grab, interval snapshot, mirror poll) and the
// camera-button utility's keys.
#include "MainDlg.h"

#include <afxhook.h>

#include <ctime>

#include "CaptureClock.h"
#include "PanelTimers.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "resource.h"

namespace {


// The camera-button utility's keys.
constexpr WPARAM kKeyCapture = 71;
constexpr WPARAM kKeyZoom = 72;
constexpr WPARAM kKeyAudio = 118;
constexpr int kZoomLevels = 5;

} // namespace

void CMainDlg::OnTimer(UINT_PTR id) {
    CDialog::OnTimer(id);
    OnCaptureTimer(id);
}

void CMainDlg::OnCaptureTimer(UINT_PTR id) {
    switch (id) {
    case kRecordingClockTimer:
        OnRecordingClock();
        break;
    case kMotionTimer:
        if (m_motionBuffer) {
            memset(m_motionBuffer, 0, m_motionBufferBytes);
            m_capture.SnapshotToMemory(m_motionBuffer, m_motionBufferBytes);
        }
        break;
    case kIntervalTimer:
        m_captureKind = 0;
        OnRecord();
        m_captureKind = 2;
        break;
    case kMirrorTimer:
        if (m_capture.Settings().mirror) {
            const int flip = !m_capture.IsFlipped();
            m_capture.SetFlip(flip, flip);
        } else {
            m_capture.SetFlip(0, 0);
        }
        break;
    default:
        break;
    }
}

void CMainDlg::OnRecordingClock() {
    const int freeMB = FreeDiskMB();
    const CaptureClockTick tick =
        ReadCaptureClock(m_capture.GetLimitCapture(), m_capture.GetCaptureTime(),
                         static_cast<int>(time(nullptr)) - m_startTime, m_startFreeMB, freeMB);
    ShowClockLabel(FormatRecordingClock(tick.shownSeconds, tick.usedMB).c_str());
    CString space;
    space.Format("%.2f GB", static_cast<double>(freeMB) / 1024);
    SetLabelText(&m_stHDSpace, space);
    if (tick.limitReached)
        OnStopRecord();
    if (tick.fileTooLarge) {
        OnStopRecord();
        AfxShowMessageBox(m_hWnd, "The recorded file size over 2GB, stop recording.", "Error", MB_OK);
    }
    if (tick.diskLow)
        StopForLowDisk("The disk free space is 100MB, stop capturing.", FALSE);
}

LRESULT CMainDlg::OnExternalKey(WPARAM key, LPARAM value) {
    if (key == kKeyCapture) {
        if (!m_captureModeOn)
            SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SWITCH, BN_CLICKED), reinterpret_cast<LPARAM>(m_btnSwitch.m_hWnd));
        else if (m_recording)
            OnStopRecord();
        else {
            m_watchEndedUnwritten = FALSE; // the user's own start
            OnRecord();
        }
    } else if (key == kKeyZoom) {
        if (m_captureModeOn) {
            const int level = (m_capture.GetDigitalZoomLevel() + 1) % kZoomLevels;
            m_enhance[2] = level != 0; // [Enhance] Zoom
            m_enhance[7] = level;      // [Enhance] ZoomValue
            m_capture.SetDigitalZoom(1, level);
        }
        // An open Enhance dialog moves its zoom slider with the key.
        ForwardToEnhanceDialog(key, value);
    } else if (key == kKeyAudio) {
        const BOOL on = value == 0;
        m_voiceOn = on;
        m_capture.SetAudioOn(on);
        m_btnVoice.EnableWindow(on);
        m_btnMute.EnableWindow(on);
        if (m_captureModeOn)
            ShowVoiceButtons();
    }
    return 0;
}
