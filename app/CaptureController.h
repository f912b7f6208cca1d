#pragma once
// CCaptureController: the program's one owner of the live video engine. It keeps the user's capture
// settings ("Zentrik.ini"), the device lists, the record file name and the last error text, and turns
// every capture action of the user interface into engine calls in a fixed order. It shows nothing
// itself: a failing operation stores a text that the caller shows with the caption "Error".
// User-interface thread only.
#include <afxwin.h>

#include <Vostrel.h>

#include "AlbumItemInfo.h"
#include "RecordingFacts.h"
#include "WriteProblem.h"

// The user's capture settings as the settings file keeps them (defaults: those of a missing key).
struct CaptureSettings {
    int limitCapture = 1;        // recordings stop after captureTime
    int videoFileType = 1;       // record extension: 0 ".AVI", 1 ".ASF", 2 ".WMV" (3: kind 3's ".WMV")
    int videoQuality = 2;        // the engine's video quality (ASF system profile)
    int imageFileType = 1;       // snapshot extension: 0 ".BMP", 1 ".JPG", 2 ".PNG", 3 ".TIF", 4 ".GIF"
    int imageQuality = 50;       // the engine's image (JPEG) quality
    int recordKind = 1;          // record format of the next recording, 0..3
    int saveFileType = 1;        // [MergeSetting] SaveFileType as read
    int outputWidth = 320;       // chosen capture size
    int outputHeight = 240;
    CString videoFolder;         // recordings
    CString imageFolder;         // snapshots
    CString cameraName;          // friendly name of the chosen video device
    int captureTime = 30;        // recording limit, seconds
    int intervalTime = 5;        // interval capture, seconds
    int motionSensitivity = 50;  // 0..100
    CString videoName = "DREM";  // file name prefixes
    CString imageName = "DREM";
    int videoCount = 1;          // next file numbers, 1..9999
    int imageCount = 1;
    int useVMR = 0;
    int mirror = 0;
    UINT rotateDegree = 0;
    UINT rotateMethod = 0;
    DWORD rotateBgColor = 0;
    int frameSizeIndex = 2;      // [MergeSetting] FrameSize, index into "128x96" .. "640x480"
    int colorDepthIndex = 1;     // [MergeSetting] Video, index into "16", "24", "32"
    int frameRate = 15;
};

class CCaptureController {
public:
    CCaptureController();
    virtual ~CCaptureController();
    // The engine and the settings file have one owner.
    CCaptureController(const CCaptureController&) = delete;
    CCaptureController& operator=(const CCaptureController&) = delete;

    // Engine set-up and devices.
    HRESULT OpenEngine();
    void CloseEngine();
    // The controller's part of leaving live mode: the record format goes back to the kept one
    // (SaveFileType), the engine is released and the mode is 1.
    void LeaveLiveMode();
    int EnumVideoDevices();
    int EnumAudioDevices();
    CString GetVideoDeviceName(int index) const;
    CString GetAudioDeviceName(int index) const;
    HRESULT SelectVideoDevice(const char* name);
    HRESULT SelectAudioDevice(int index, int enable);
    int GetFormatCount();
    BOOL GetFormat(int index, _LiteCapVideoInfo* info);
    // The engine's result, or the number of formats when none has this size (nothing changes then).
    int SetCaptureSize(int width, int height);
    // kind 0..3, or -1 to apply the kept one.
    void SetRecordFormat(int kind);
    // The record format the user chose (Setup sheet or the main dialog's list): applied, and kept as
    // the format written and used at the next start.
    void ChooseRecordFormat(int kind);
    void SetQualities();
    // The camera filter's property pages; nonzero (the text "Unknown Error") when they fail.
    HRESULT ShowVideoSettings();
    // The modal settings sheet "Setup" (Basic, Format, Mode); after OK the qualities reach the engine
    // and the settings file is written. Returns 0. Built with its pages in the program.
    int RunSetupSheet();

    // Capture.
    void SetPreviewArea(int left, int top, int right, int bottom);
    HRESULT ShowLivePreview(BOOL on);
    // 0 when the recording runs; otherwise the failure (see GetLastErrorText, or GetLastWriteProblem
    // when the file could not be created: the text is then empty). A refused recording
    // leaves no file, gives its number back and keeps the last recording's name; the engine brings
    // its picture back, and the text says so when it could not.
    HRESULT StartRecording(const char* path);
    CString StopRecording();
    void GetCaptureInfo(_AlbumItemInfo* record) const;
    CString TakeSnapshot(const char* path);
    // The next frame is copied into the caller's buffer of size bytes; FALSE when it cannot be armed.
    BOOL SnapshotToMemory(BYTE* buffer, UINT size);
    CString GetLastErrorText() const { return m_lastErrorText; }
    // Why the last refused recording's file could not be created; kind None when that was not why.
    const qelapp::WriteProblem& GetLastWriteProblem() const { return m_lastWriteProblem; }
    // Why the engine's last file snapshot was not written (a Win32 code); 0 once one is.
    DWORD GetSnapshotError() const;
    // The next free numbered names of the video and image folders (empty when all 9999 are taken);
    // the counter advances past every name tried.
    CString MakeVideoFileName();
    CString MakeImageFileName();

    // Sound and picture.
    void SetAudioOn(int on);
    void SetRotate(UINT degree, UINT method, DWORD color);
    void SetFlip(int on, int bits);
    BOOL IsCompatibilityFlip();
    BOOL IsFlipped();

    // Enhancements and effects, passed on to the engine.
    void SetEnhance(int on, int level);
    void SetTone(int on, int level);
    void SetLowLight(int on, int level);
    void SetWhiteBoard(int on, int level);
    void SetContrastBrightness(int on, int brightness, int contrast);
    void SetDigitalZoom(int on, int level);
    void SetPhotoFrame(int on, const WCHAR* framePath);
    void SetDateTime(int on, int n);
    void SetStampFont(LOGFONTA& font);
    void SetBlackWhite(int on, int strength);
    void SetSepia(int on, int strength);
    void SetNegative(int on, int strength);
    void SetEmboss(int on, int strength);
    void SetSphere(int on, int strength);
    void SetSnow(int on, int strength);
    void SetMosaic(int on, int strength);
    void SetSwirl(int on, int strength);
    void SetSpotLight(int on, int strength);
    void ClearEffect();
    // Applies one effect of the program's effect index (-1 none, 0 photo frame .. 10 date and time);
    // property is the date/time overlay's value, framePath the photo frame's image.
    void ApplyEffect(int effectIndex, int property, const WCHAR* framePath);
    // Only the special effect of an effect index (1 .. 9), at the strength the program uses for it.
    void ApplySpecialEffect(int effectIndex);

    // Settings and state.
    CaptureSettings& Settings() { return m_settings; }
    const CaptureSettings& Settings() const { return m_settings; }
    const CString& GetVideoFolder() const { return m_settings.videoFolder; }
    const CString& GetImageFolder() const { return m_settings.imageFolder; }
    int GetCaptureTime() const { return m_settings.captureTime; }
    int GetLimitCapture() const { return m_settings.limitCapture; }
    int GetVideoCount() const { return m_settings.videoCount; }
    int GetImageCount() const { return m_settings.imageCount; }
    int GetBytesPerPixel() const { return m_settings.colorDepthIndex + 2; }
    // The frames a motion watch grabs are the engine's 24-bit frames of the capture size, whatever
    // the colour depth setting says: rows of three bytes a pixel padded to four bytes.
    int GetMotionRowLength() const;
    UINT GetMotionFrameBytes() const;
    int GetDigitalZoomOn() const { return m_digitalZoomOn; }
    int GetDigitalZoomLevel() const { return m_digitalZoomLevel; }
    BOOL IsTempFolderReadOnly() const { return m_folderReadOnly; }
    const CString& GetTempFolder() const { return m_tempFolder; }
    // The folder that stands in for the documents folder's "Tavorin" because no ANSI path reaches the
    // documents folder; empty when the settings' folders did not need it.
    const CString& GetDocumentsStandIn() const { return m_documentsStandIn; }
    // The facts of the last recording, read after its stop on a thread of their own: waited for at
    // most waitMs (never from the window's thread without a limit).
    const _LITEVIDEOINFO& GetLastRecordingInfo(DWORD waitMs) { return m_lastRecordingInfo.Facts(waitMs); }
    int GetCaptureStatus() const { return m_captureStatus; }
    void SetMode(int mode) { m_mode = mode; }
    int GetMode() const { return m_mode; }
    void SetVideoWindow(HWND window) { m_videoWindow = window; }
    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    HWND GetVideoWindow() const { return m_videoWindow; }
    HWND GetNotifyWindow() const { return m_notifyWindow; }
    void NextVideoCount();
    void NextImageCount();

    // The settings file.
    void ReadSettings();
    BOOL WriteSettings();
    BOOL WriteCounters();
    BOOL WriteVideoFileType(int type);
    BOOL WriteOutputSize(int width, int height);

protected:
    BOOL xIsLive() const { return m_engine && m_mode == 0; }
    BOOL xReadCompatibilityFlip(const char* cameraName) const;
    void xCreateTempFolder() const;
    HRESULT xStartRecording(const char* path);
    HRESULT xRefuseWrite(const qelapp::WriteProblem& problem);
    // After a refused start: the empty record file gone, the number given back.
    void xUndoRefusedStart(const char* path);

    CaptureSettings m_settings;
    CLiveCapture* m_engine = nullptr;
    HWND m_videoWindow = nullptr;
    HWND m_notifyWindow = nullptr;
    int m_mode = 0;                 // 0 live capture, 1 playback: only live capture reaches the engine
    BOOL m_initialized = FALSE;     // OpenEngine has run
    CString m_lastErrorText;
    qelapp::WriteProblem m_lastWriteProblem;
    CString m_tempFolder;           // program folder + "TempStorage"
    BOOL m_folderReadOnly = FALSE;
    CString m_documentsStandIn;
    CString m_captureFileName;
    CString m_lastVideoName;        // the last name MakeVideoFileName gave, and the count before it
    int m_videoCountBeforeName = 1;
    BOOL m_recordFileCreated = FALSE; // the engine created the record file of a start not yet over
    CString m_lastSnapshotName;
    int m_captureStatus = 0;
    CStringList m_videoDevices;     // friendly names in the engine's order
    CStringList m_audioDevices;
    int m_digitalZoomOn = 0;
    int m_digitalZoomLevel = 0;
    _CapturedVideoInfo m_lastCaptureStats = {};
    CRecordingFacts m_lastRecordingInfo;
};
