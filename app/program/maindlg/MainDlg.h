#pragma once
// CMainDlg: the program's one working window, a modeless child dialog covering the main frame. It owns
// the capture panel's controls, the capture controller (and through it the engine) and the start-up
// indicator, paints the skin's background, and shuts the program down in order.
#include <afxcmn.h>
#include <afxwin.h>
#include <mmsystem.h>

#include <memory>

#include <ButtonEx.h>
#include <CheckEx.h>
#include <SliderCtrlEx.h>
#include <StaticEx.h>

#include "AlbumItemInfo.h"
#include "CaptureController.h"
#include "PreviewWnd.h"
#include "EnhanceDlg.h"
#include "ThumbStrip.h"
#include "VSliderCtrlEx.h"

class CAlbumScanJob;
class CImage;

class CMainDlg : public CDialog {
public:
    CMainDlg();
    ~CMainDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    // Background of the whole dialog, from the size mode's skin file (the main frame sets it).
    void SetBackgroundImage(const char* path);
    // The live picture shows in capture mode only.
    void ShowCapturePreview();
    void LoadEnhanceSettings();
    void SaveEnhanceSettings();
    // Where captures go in place of the documents folder, and why, when the program had to choose.
    void SayDocumentsStandIn();
    // Tells an open Enhance dialog that the zoom was stepped from outside (message 0x1407).
    void ForwardToEnhanceDialog(WPARAM wParam, LPARAM lParam);
    void StartInitIndicator();
    void StopInitIndicator();

    // Capture panel.
    BOOL OpenLiveMode();
    void CloseLiveMode();
    void UpdateCaptureButtons();
    // direction 1 turns the picture by +90 degrees, 0 by -90; method 0 or 1 is the rotation method.
    void RotateKey(int clockwise);
    void FlipKey(int method);
    // Moves every control to its rectangle of the current size mode.
    void RelayoutControls();
    // Capture panel commands (snapshots, motion watch, interval series, recordings).
    void EnablePanel(BOOL on);
    void OnRecord();
    void OnStopRecord();
    // Free megabytes available to the user on the video folder's drive; 0 when unreadable.
    int FreeDiskMB() const;

    int SizeMode() const { return m_sizeMode; }
    CCaptureController& Capture() { return m_capture; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override {}     // Enter does nothing
    void OnCancel() override {} // Escape does nothing

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    // The Record and Stop buttons: Record appears under the pointer at Stop, so the click that
    // completes a double-click on Stop is not a new recording.
    afx_msg void OnRecordClicked();
    afx_msg void OnStopRecordClicked();
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnCloseCommand();
    afx_msg LRESULT OnMixerChange(WPARAM wParam, LPARAM lParam);
    afx_msg void OnThumbUp();
    afx_msg void OnThumbDown();
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    // Sharing and window commands.
    afx_msg void OnEmail();
    afx_msg void OnWallpaper();
    afx_msg void OnScreenSaver();
    afx_msg void OnTrash();
    afx_msg void OnMinimize();
    afx_msg void OnSizeToggle();
    afx_msg void OnAbout();
    afx_msg void OnHelp();
    // Playback mode.
    afx_msg void OnSwitch();
    afx_msg void OnSaveAs();
    afx_msg void OnInfo();
    afx_msg void OnPlay();
    afx_msg void OnPause();
    afx_msg void OnStopPlayback();
    afx_msg LRESULT OnItemOpen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnItemClick(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewerStill(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPlayProgress(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnResolutionChange();
    afx_msg void OnVideoFormatChange();
    // The dialogs of the capture panel and what the settings pages send.
    afx_msg void OnEnhance();
    afx_msg void OnEffects();
    afx_msg void OnSetup();
    afx_msg LRESULT OnVideoSettingsRequest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCameraChosen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResolutionText(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSnapshotMode();
    afx_msg void OnVideoMode();
    afx_msg void OnContinue();
    afx_msg void OnAuto();
    afx_msg void OnInterval();
    afx_msg void OnVoice();
    afx_msg void OnMute();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnExternalKey(WPARAM key, LPARAM value);
    DECLARE_MESSAGE_MAP()
    void PlaceAlbumStepDown();

    // Capture panel pieces.
    void OnCaptureTimer(UINT_PTR id);
    void OnRecordingClock();
    // Ends a capture for lack of disk space and says so once, with text; fromEngine: the engine's
    // notice, which closes the engine's file first.
    void StopForLowDisk(const char* text, BOOL fromEngine);
    void RecordVideo();
    void StartMotionWatch();
    // Kills the running capture timer (a motion watch's detector is reset with it); the id that ran, 0 for none.
    UINT_PTR EndCaptureTimer();
    void TakeSingleSnapshot();
    void TakeOutSilentAudio();
    void PutBackAudio();
    void SwitchCaptureMode(BOOL video);
    void CheckCaptureKind(int kind);
    void ShowClockLabel(const char* text);
    void SetVoice(BOOL on);
    // The engine's notifications, from the default window procedure.
    void OnSnapshotDone(WPARAM wParam, LPARAM lParam);
    // The panel's last snapshot was not written (error: the Win32 reason): an interval or motion
    // watch ends, and the user hears why once.
    void OnSnapshotNotWritten(DWORD error);
    void ShowWriteProblem(const qelapp::WriteProblem& problem);
    void OnMotionFrame();
    void OnDeviceLost();

    // Start-up pieces of OnInitDialog.
    void OpenMixer();
    void CreateButtonFont();
    void PlacePreview();
    void SkinControls();
    void LoadSounds();
    void ApplyEngineSettings();
    void ApplySavedEffect();
    void ShowVoiceButtons();
    void PlaceDialog();
    static UINT IndicatorThread(LPVOID param);
    // Album.
    void CreateStrip();
    // listAlbum FALSE: only the repair of recordings cut short in the video folder (and in
    // leftRepairFolder, a folder whose repair an earlier scan left unfinished).
    void StartThumbScan(BOOL listAlbum = TRUE, const CString& leftRepairFolder = CString());
    // Stops a running scan and waits a moment for its end, serving what it sends meanwhile.
    void StopThumbScan();
    // The scan's record (WM_LIVECAP_SNAPSHOT 0, 0) and the end of its listing.
    void OnScanRecord();
    afx_msg LRESULT OnScanEnded(WPARAM listed, LPARAM job);
    // The record joins the strip (at its top for a new capture).
    void AddAlbumRecord(const _AlbumItemInfo& record, BOOL atFront);
    void ShowAlbumSlider();
    void MoveAlbumSelection(int step);
    void WaitForIndicatorThread();
    // Playback mode.
    void EnterPlaybackMode();
    void EnterLiveMode();
    void ApplyModeLayout();
    void ShowPlaybackControls(BOOL show);
    // Shows path in the viewer with the playback controls that suit it.
    void ShowInViewer(const char* path);
    // Size, date, time and pixel-size labels of an item; the time label from m_duration.
    void FillInfoLabels(const _AlbumItemInfo& item);
    void ShowViewerImageSize();
    void ShowAlbumItem(const _AlbumItemInfo& item, BOOL withLabels);
    // Up and Down in playback mode show the newly selected item.
    void ShowAlbumItemAt(int index);
    void UpdateSelectionButtons();
    void UpdateUpDownButtons();
    void StopRunningPlayback();
    void ResetPlayDisplay();
    void ShowPlayPosition();
    CString FreeSpaceText() const;
    void DragMoveTo(CPoint point, WPARAM done);
    BOOL IsOfferedCaptureSize(int width, int height) const;

public:
    ULONG_PTR m_gdiplusToken = 0;
    // Controls in the order of the dialog's table.
    CStaticEx m_stInit;
    CButtonEx m_btnSetup, m_btnEnhance, m_btnEffect, m_btnVoice, m_btnMute;
    CCheckEx2 m_chkVideo;
    CButtonEx m_btnRecord, m_btnStopRecord;
    CCheckEx2 m_chkSnapshot, m_chkContinue, m_chkAuto, m_chkInterval;
    CButtonEx m_btnSwitch, m_btnSaveAs;
    CStaticEx m_stDate;
    CButtonEx m_btnPause, m_btnPlay, m_btnStop;
    CVSliderCtrlEx2 m_sldDisplay;
    CSliderCtrlEx m_sldPlay;
    CString m_selectedFile;
    UINT_PTR m_mirrorTimerId = 0;
    CString m_recordSound, m_snapshotSound;
    CButtonEx m_btnEMail, m_btnWallpaper, m_btnScreenSaver, m_btnTrash, m_btnMin, m_btnMax, m_btnSMax, m_btnClose,
        m_btnInfo;
    CStaticEx m_stResolution;
    CComboBox m_cboResolution;
    CStaticEx m_stVideoFormatCaption;
    CComboBox m_cboVideoFormat;
    CStaticEx m_stCaptureTimeCaption, m_stCaptureTime, m_stFileSize, m_stHDSpaceCaption, m_stHDSpace,
        m_stDeviceCaption, m_stDevice;
    CButtonEx m_btnThumbUp, m_btnThumbDown;

    RECT m_previewArea = {};
    RECT m_previewShowRect = {};
    int m_captureKind = 0;
    DWORD m_stopClickTime = 0;      // when Stop was last clicked (message time)
    BOOL m_stopClicked = FALSE;
    UINT_PTR m_timerId = 0;
    int m_startFreeMB = 0, m_startTime = 0;
    int m_audioDeviceCount = 1;
    BOOL m_voiceOn = TRUE;
    BOOL m_videoMode = FALSE;
    int m_stripTop = 0;
    int m_sizeMode = 0;
    int m_savedSizeMode = 0; // the mode the user chose; m_sizeMode may differ while it does not fit the screen
    BOOL m_captureModeOn = TRUE;
    int m_stripVisibleCount = 5;
    BYTE* m_motionBuffer = nullptr;
    UINT m_motionBufferBytes = 0;
    BOOL m_audioTakenOut = FALSE; // the audio input is out of the engine for a silent recording
    int m_engineFlag = 0;
    // [Enhance]: Auto, Manual, Zoom, AutoEnhance, AutoTone, AutoLowLight, AutoClearText, ZoomValue,
    // EnhanceValue, ToneValue, LowLightValue, ClearTextValue, Brightness, Contrast.
    int m_enhance[14] = {};
    // Kept for the dialog's whole life; its window exists only while it runs.
    CEnhanceDlg m_enhanceDlg;
    int m_effectIndex = -1;
    int m_propertyIndex = -1;
    WCHAR m_propertyName[MAX_PATH] = {};
    int m_dragState = 0, m_dragX = 0, m_dragY = 0;
    CFont m_buttonFont;
    HMIXER m_mixer = nullptr;
    DWORD m_muteControlId = static_cast<DWORD>(-1);
    DWORD m_volumeControlId = static_cast<DWORD>(-1);
    CCaptureController m_capture;
    _AlbumItemInfo m_itemInfo = {};
    // The capture panel's own record of its last snapshot or recording: the scan thread writes
    // m_itemInfo at any time, so a capture waiting for its notification keeps its record here.
    _AlbumItemInfo m_captureRecord = {};
    BOOL m_recording = FALSE;
    BOOL m_lowDiskBoxUp = FALSE; // the box saying a capture stopped for lack of space is showing
    BOOL m_writeBoxUp = FALSE;   // the box saying why a capture's file could not be written is showing
    BOOL m_watchEndedUnwritten = FALSE; // a failed write ended the watch; the user has not started anew
    BOOL m_videoOk = FALSE, m_audioOk = FALSE;
    int m_savedCaptureValues[2] = {};
    volatile LONG m_indicatorRunning = FALSE;
    BOOL m_dialogAlive = TRUE;
    CWinThread* m_indicatorThread = nullptr;
    HICON m_icon = nullptr;
    CThumbStrip m_strip;
    CString m_imageFolder, m_videoFolder;
    CAlbumScanJob* m_scanJob = nullptr;
    volatile LONG m_scanRunning = FALSE; // the scan's listing runs
    BOOL m_scanRepairDone = TRUE;        // the last scan finished the video folder's repair

    std::unique_ptr<CImage> m_background;
    std::unique_ptr<CImage> m_playWndImage;

    // Playback mode: the viewer, the position and the duration of the clip in hand (100-ns units).
    CPreviewWnd m_viewer;
    double m_playPosition = 0;
    double m_duration = 0;

    // The saved [Effect] values and capture values the live mode keeps aside.
    HWND m_savedVideoWindow = nullptr, m_savedNotifyWindow = nullptr;
};

// The indicator thread's wake-up event (auto-reset); null when none.
extern HANDLE g_indicatorEvent;

// [Basic] dialogsize as the program uses it: 0 large, any other value small (1).
int ReadSizeMode();
