// The capture panel's commands: snapshot and video modes, the three snapshot kinds, Record and Stop
// in every kind, Voice and Mute, and the panel's enabling while a capture runs.
#include "MainDlg.h"

#include <afxhook.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "CameraButton.h"
#include "CaptureClock.h"
#include "PanelTimers.h"
#include "MotionDetector.h"
#include "Mixer.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "WideText.h"
#include "resource.h"

namespace {

constexpr UINT kRecordingClockMs = 1000;
constexpr UINT kMotionGrabMs = 250;

// Pictures larger than this are recorded at this size: the label says so in video mode.
constexpr int kMaxRecordWidth = 640, kMaxRecordHeight = 480;

void ShowError(HWND owner, const char* text) { AfxShowMessageBox(owner, text, "Error", MB_OK); }

// Played to its end before the capture starts, as the user expects the sound first.
void PlayCaptureSound(const CString& path) { ::PlaySoundA(path, nullptr, SND_NOWAIT); }

int NowSeconds() { return static_cast<int>(time(nullptr)); }

} // namespace

void CMainDlg::EnablePanel(BOOL on) {
    m_btnSetup.EnableWindow(on);
    m_btnEnhance.EnableWindow(on);
    m_btnEffect.EnableWindow(on);
    if (FindCameraButtonUtility()) {
        // The utility decides while it runs: both stay usable unless it mutes the microphone.
        const BOOL usable = !CameraButtonUtilityMutes();
        m_btnVoice.EnableWindow(usable);
        m_btnMute.EnableWindow(usable);
    } else {
        (m_voiceOn ? m_btnVoice : m_btnMute).EnableWindow(on);
    }
    m_chkSnapshot.EnableWindow(on);
    // Without an audio driver video capture stays off whatever the panel does.
    m_chkVideo.EnableWindow(on && m_audioOk);
    const BOOL kinds = on && !m_videoMode;
    m_chkContinue.EnableWindow(kinds);
    m_chkAuto.EnableWindow(kinds);
    m_chkInterval.EnableWindow(kinds);
    // The album's commands have nothing to act on in an empty album.
    const BOOL album = on && m_strip.GetCount() > 0;
    m_btnSwitch.EnableWindow(album);
    m_btnSaveAs.EnableWindow(album);
    m_btnEMail.EnableWindow(album);
    m_btnTrash.EnableWindow(album);
    m_btnInfo.EnableWindow(on);
}

void CMainDlg::OnVideoMode() { SwitchCaptureMode(TRUE); }
void CMainDlg::OnSnapshotMode() { SwitchCaptureMode(FALSE); }

void CMainDlg::SwitchCaptureMode(BOOL video) {
    m_videoMode = video;
    m_chkSnapshot.SetCheck(!video);
    m_chkSnapshot.EnableWindow(video);
    m_chkVideo.SetCheck(video);
    m_chkVideo.EnableWindow(!video);
    m_chkContinue.EnableWindow(!video);
    m_chkAuto.EnableWindow(!video);
    m_chkInterval.EnableWindow(!video);
    m_stCaptureTime.ShowWindow(video ? SW_SHOW : SW_HIDE);
    m_stHDSpace.ShowWindow(video ? SW_SHOW : SW_HIDE);
    const CaptureSettings& settings = m_capture.Settings();
    if (settings.outputWidth > kMaxRecordWidth || settings.outputHeight > kMaxRecordHeight) {
        CString text;
        if (video)
            text.Format("%dx%d", kMaxRecordWidth, kMaxRecordHeight);
        else
            text.Format("%dx%d", settings.outputWidth, settings.outputHeight);
        SetLabelText(&m_stResolution, text);
    }
}

// The skinned boxes draw their own flag, not the standard check state: both are set, so that exactly
// the kind in force shows chosen.
void CMainDlg::CheckCaptureKind(int kind) {
    CCheckEx2* const boxes[3] = {&m_chkContinue, &m_chkAuto, &m_chkInterval};
    for (int k = 0; k < 3; ++k) {
        boxes[k]->SendMessage(BM_SETCHECK, kind == k);
        boxes[k]->SetCheck(kind == k);
    }
    m_captureKind = kind;
    UpdateCaptureButtons();
}

void CMainDlg::OnContinue() { CheckCaptureKind(0); }
void CMainDlg::OnAuto() { CheckCaptureKind(1); }
void CMainDlg::OnInterval() { CheckCaptureKind(2); }

// The times compared are the clicks' own (the input message's time): a stop takes a while, and the
// second click of the double click waits in the queue meanwhile.
void CMainDlg::OnRecordClicked() {
    const DWORD clickTime = static_cast<DWORD>(::GetMessageTime());
    // Either side: input paths stamp from clocks of their own, and the second click may carry a time a
    // little before the first's.
    const LONG sinceStop = static_cast<LONG>(clickTime - m_stopClickTime);
    if (m_stopClicked && std::labs(sinceStop) <= static_cast<LONG>(::GetDoubleClickTime()))
        return;
    m_stopClicked = FALSE;
    m_watchEndedUnwritten = FALSE;
    OnRecord();
}

void CMainDlg::OnStopRecordClicked() {
    m_stopClicked = TRUE;
    m_stopClickTime = static_cast<DWORD>(::GetMessageTime());
    OnStopRecord();
}

void CMainDlg::OnRecord() {
    if (m_videoMode) {
        RecordVideo();
        return;
    }
    switch (m_captureKind) {
    case 0:
        TakeSingleSnapshot();
        break;
    case 1:
        StartMotionWatch();
        break;
    case 2:
        m_recording = TRUE;
        UpdateCaptureButtons();
        m_timerId = SetTimer(kIntervalTimer, static_cast<UINT>(m_capture.Settings().intervalTime) * 1000u);
        EnablePanel(FALSE);
        break;
    default:
        ShowError(m_hWnd, "Please choose capture mode before");
        break;
    }
}

void CMainDlg::RecordVideo() {
    const BOOL timed = ::GetPrivateProfileIntA("GetTimeSpan", "GetSpan", 0, g_skinSettingsPath) != 0;
    const DWORD started = ::GetTickCount();
    if (m_capture.IsTempFolderReadOnly()) {
        CString text;
        text.LoadString(IDS_FOLDER_READ_ONLY);
        ShowError(m_hWnd, text);
        return;
    }
    PlacePreview();
    m_capture.SetPreviewArea(m_previewShowRect.left, m_previewShowRect.top, m_previewShowRect.right,
                             m_previewShowRect.bottom);
    const CString name = m_capture.MakeVideoFileName();
    PlayCaptureSound(m_recordSound);
    TakeOutSilentAudio();
    if (m_capture.StartRecording(name) != 0) {
        PutBackAudio();
        const qelapp::WriteProblem& problem = m_capture.GetLastWriteProblem();
        if (problem.kind != qelapp::WriteFailure::None)
            ShowWriteProblem(problem);
        else
            ShowError(m_hWnd, m_capture.GetLastErrorText());
        return;
    }
    m_recording = TRUE;
    UpdateCaptureButtons();
    m_startFreeMB = FreeDiskMB();
    m_startTime = NowSeconds();
    m_timerId = SetTimer(kRecordingClockTimer, kRecordingClockMs);
    EnablePanel(FALSE);
    if (timed) {
        const DWORD seconds = (::GetTickCount() - started) / 1000;
        CString text;
        text.Format("Total time = %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                    static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        AfxShowMessageBox(m_hWnd, text, "", MB_OK);
    }
}

// With the sound off, a recording of kind 0 is a video-only AVI. The engine would take its audio input
// out only after connecting it to the writer, which an input without a sound stream cannot: the input
// leaves before the graph is built and comes back after the recording.
void CMainDlg::TakeOutSilentAudio() {
    if (m_voiceOn || !m_audioOk || m_capture.Settings().recordKind != 0)
        return;
    m_audioTakenOut = SUCCEEDED(m_capture.SelectAudioDevice(0, 0));
}

void CMainDlg::PutBackAudio() {
    if (!m_audioTakenOut)
        return;
    m_audioTakenOut = FALSE;
    m_audioOk = m_capture.SelectAudioDevice(0, 1) >= 0;
}

void CMainDlg::TakeSingleSnapshot() {
    PlayCaptureSound(m_snapshotSound);
    const CString name = m_capture.MakeImageFileName();
    // Encoded pictures pass through a temporary name five characters longer, which must fit too; a
    // name with a wildcard names no file the engine could write.
    const bool tooLong = name.GetLength() + 5 >= MAX_PATH;
    if (tooLong || !qelapp::NamesOneFile(name)) {
        lstrcpynA(m_captureRecord.path, name, MAX_PATH);
        OnSnapshotNotWritten(tooLong ? ERROR_FILENAME_EXCED_RANGE : ERROR_INVALID_NAME);
        return;
    }
    m_capture.TakeSnapshot(name);
    // The file joins the album when the engine reports it written.
    std::memset(&m_captureRecord, 0, sizeof m_captureRecord);
    m_captureRecord.isPicture = 1;
    lstrcpynA(m_captureRecord.path, name, MAX_PATH);
    lstrcpynA(m_captureRecord.displayPath, name, MAX_PATH);
    lstrcpynA(m_captureRecord.imagePath, name, MAX_PATH);
}

void CMainDlg::StartMotionWatch() {
    m_recording = TRUE;
    const CaptureSettings& settings = m_capture.Settings();
    const std::uint32_t allCells[4] = {1, 1, 1, 1};
    // The grabbed frames are the engine's 24-bit frames, whatever the colour depth setting says.
    if (MD_Init(2, allCells, settings.outputWidth, settings.outputHeight, m_capture.GetMotionRowLength(),
                settings.motionSensitivity) == kMdOk) {
        const UINT bytes = m_capture.GetMotionFrameBytes();
        // The same size keeps the buffer: a frame the engine may still be copying never lands in freed memory.
        if (!m_motionBuffer || m_motionBufferBytes != bytes) {
            delete[] m_motionBuffer;
            m_motionBuffer = new BYTE[bytes];
            m_motionBufferBytes = bytes;
        }
    }
    UpdateCaptureButtons();
    m_timerId = SetTimer(kMotionTimer, kMotionGrabMs);
    EnablePanel(FALSE);
}

void CMainDlg::OnStopRecord() {
    if (m_recording) {
        const UINT_PTR running = EndCaptureTimer();
        if (running == kRecordingClockTimer) {
            UpdateCaptureButtons();
            m_capture.StopRecording();
            PutBackAudio();
            m_capture.GetCaptureInfo(&m_captureRecord);
            PlayCaptureSound(m_recordSound);
            // A recording whose file went with its folder is no item.
            if (m_dialogAlive && m_captureRecord.path[0] &&
                ::GetFileAttributesA(m_captureRecord.path) != INVALID_FILE_ATTRIBUTES)
                AddAlbumRecord(m_captureRecord, TRUE);
        }
        m_recording = FALSE;
        UpdateCaptureButtons();
        EnablePanel(TRUE);
    }
    ShowClockLabel(FormatIdleClock().c_str());
}

UINT_PTR CMainDlg::EndCaptureTimer() {
    const UINT_PTR running = m_timerId;
    if (running)
        KillTimer(running);
    m_timerId = 0;
    if (running == kMotionTimer)
        MD_Reset();
    return running;
}

void CMainDlg::ShowClockLabel(const char* text) { SetLabelText(&m_stCaptureTime, text); }

int CMainDlg::FreeDiskMB() const {
    // The drive root: the video folder up to and including its first backslash.
    CString root = m_capture.GetVideoFolder();
    const int slash = root.Find('\\');
    if (slash >= 0)
        root = root.Left(slash + 1);
    ULARGE_INTEGER available = {}, total = {}, free = {};
    if (!::GetDiskFreeSpaceExA(root, &available, &total, &free))
        return 0;
    return static_cast<int>(available.QuadPart >> 20);
}

void CMainDlg::SetVoice(BOOL on) {
    m_capture.SetAudioOn(on);
    m_voiceOn = on;
    // The mixer tells the dialog of its own switch; without a mute control no word comes, so the
    // buttons change here, as they do while the camera-button utility runs.
    if (FindCameraButtonUtility() || m_muteControlId == static_cast<DWORD>(-1))
        ShowVoiceButtons();
    SetMicrophoneMute(m_mixer, m_muteControlId, !on);
}

void CMainDlg::OnVoice() { SetVoice(FALSE); }
void CMainDlg::OnMute() { SetVoice(TRUE); }
