// Live mode: starting and stopping the engine on the main dialog, and the capture buttons' states.
#include "MainDlg.h"

#include <afxhook.h>

#include "PanelTimers.h"
#include "ProgramGlobals.h"

namespace {

// Capture sizes in ascending order of width, then height; a size already listed is skipped.
void InsertCaptureSize(int width, int height) {
    const DWORD size = MAKELONG(width, height);
    INT_PTR at = 0;
    for (; at < g_captureSizes.GetSize(); ++at) {
        const DWORD listed = g_captureSizes.GetAt(at);
        if (listed == size)
            return;
        const int w = LOWORD(listed), h = HIWORD(listed);
        if (w > width || (w == width && h > height))
            break;
    }
    g_captureSizes.InsertAt(at, size);
}

} // namespace

BOOL CMainDlg::OpenLiveMode() {
    StartInitIndicator();
    m_savedVideoWindow = m_capture.GetVideoWindow();
    m_savedNotifyWindow = m_capture.GetNotifyWindow();
    m_capture.SetMode(0);
    CaptureSettings& settings = m_capture.Settings();
    settings.videoFileType = settings.recordKind;
    m_capture.SetVideoWindow(m_hWnd);
    m_capture.SetNotifyWindow(m_hWnd);
    bool opened = SUCCEEDED(m_capture.OpenEngine());
    if (opened) {
        const int videoCount = m_capture.EnumVideoDevices();
        const int audioCount = m_capture.EnumAudioDevices();
        m_audioDeviceCount = audioCount;
        opened = videoCount > 0 || audioCount > 0;
        if (opened) {
            CString chosen;
            for (int i = 0; i < videoCount; ++i) {
                const CString name = m_capture.GetVideoDeviceName(i);
                g_cameraNames.AddTail(name);
                if (name == settings.cameraName)
                    chosen = name;
            }
            if (chosen.IsEmpty() && videoCount > 0)
                chosen = m_capture.GetVideoDeviceName(0);
            for (int i = 0; i < audioCount; ++i)
                g_audioDeviceNames.AddTail(m_capture.GetAudioDeviceName(i));
            m_capture.SetPreviewArea(m_previewShowRect.left, m_previewShowRect.top, m_previewShowRect.right,
                                     m_previewShowRect.bottom);
            m_videoOk = TRUE;
            if (videoCount > 0 && m_capture.SelectVideoDevice(chosen) < 0)
                m_videoOk = FALSE;
            g_captureSizes.RemoveAll();
            const int formats = m_capture.GetFormatCount();
            for (int i = 0; i < formats; ++i) {
                _LiteCapVideoInfo format = {};
                if (m_capture.GetFormat(i, &format))
                    InsertCaptureSize(format.nWidth, format.nHeight);
            }
            if (m_capture.SelectAudioDevice(0, 1) < 0) {
                m_audioOk = FALSE;
                // Owned by the program's own window: the active window at start-up may be the splash,
                // whose end (750 ms) would take an owned box with it unseen.
                AfxShowMessageBox(m_hWnd,
                                  "There is no proper audio driver installed, so the video capture function is disabled.",
                                  AfxGetApp()->m_pszAppName, MB_OK);
            } else {
                m_audioOk = TRUE;
            }
            UpdateCaptureButtons();
            if (m_capture.IsCompatibilityFlip())
                m_mirrorTimerId = SetTimer(kMirrorTimer, 500);
            StopInitIndicator();
            return TRUE;
        }
    }
    m_capture.CloseEngine();
    UpdateCaptureButtons();
    StopInitIndicator();
    AfxShowMessageBox(m_hWnd, "Cannot connect to the video device. Please try again.", "Error", MB_OK);
    return FALSE;
}

void CMainDlg::CloseLiveMode() {
    if (m_recording)
        OnStopRecord();
    m_capture.SetVideoWindow(m_savedVideoWindow);
    m_capture.SetNotifyWindow(m_savedNotifyWindow);
    m_capture.LeaveLiveMode();
}

void CMainDlg::UpdateCaptureButtons() {
    if (!m_hWnd)
        return;
    m_btnRecord.EnableWindow(m_videoOk);
    m_btnStopRecord.EnableWindow(m_videoOk);
    m_chkSnapshot.EnableWindow(m_videoOk && !m_recording && m_videoMode);
    m_chkVideo.EnableWindow(m_audioOk);
    m_btnRecord.ShowWindow(m_recording ? SW_HIDE : SW_SHOW);
    m_btnStopRecord.ShowWindow(m_recording ? SW_SHOW : SW_HIDE);
}

void CMainDlg::RotateKey(int clockwise) {
    const CaptureSettings& settings = m_capture.Settings();
    int degree = static_cast<int>(settings.rotateDegree) + (clockwise ? 90 : -90);
    if (degree > 270)
        degree = 0;
    if (degree < 0)
        degree = 270;
    m_capture.SetRotate(static_cast<UINT>(degree), settings.rotateMethod, settings.rotateBgColor);
}

void CMainDlg::FlipKey(int method) {
    const CaptureSettings& settings = m_capture.Settings();
    m_capture.SetRotate(settings.rotateDegree, static_cast<UINT>(method), settings.rotateBgColor);
}
