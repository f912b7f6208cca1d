#pragma once
// CLiveCapture: the live-capture engine. One object drives one camera (and optionally one audio input)
// for the life of the host's main window: devices and compressors, the preview graph in the engine's own
// child window, capture formats and picture controls, recording, snapshots and the effect chain.
#include <afxwin.h>

#include <dshow.h>

#include "LiveCapTypes.h"
#include "QelFilter.h"
#include "VostrelApi.h"

class CLiveCaptureGrabberCB;

class VOSTREL_API CLiveCapture {
public:
    CLiveCapture();
    // One object owns its interfaces, windows and buffers: a copy would release them twice.
    CLiveCapture(const CLiveCapture&) = delete;
    CLiveCapture& operator=(const CLiveCapture&) = delete;
    virtual ~CLiveCapture();

    // Start-up and state.
    HRESULT InitLiveCapture(HINSTANCE instance, HWND videoWindow, HWND notifyWindow, int logToFile);
    int InitVideo(const WCHAR* deviceName);
    LiveState GetClassState() const;
    HWND GetClassNotifyHWND() const;
    void SetOutputCompatibility(int value);
    void CleanMemberVar();
    void MyShowErrMSG(HRESULT result, const char* sourceFile, int line);

    // Devices and compressors.
    int GetDeviceNum(DeviceType type);
    HRESULT GetDeviceName(DeviceType type, int index, WCHAR* buffer, int length);
    HRESULT SetUsedDeviceByIndex(DeviceType type, int index);
    HRESULT SetUsedDeviceByName(DeviceType type, const WCHAR* name, UINT* index);
    int GetCprNum(DeviceType type);
    BOOL GetCprCap(DeviceType type, int index, WCHAR* buffer, UINT length, int* hasPages);
    BOOL SetCprByIndex(DeviceType type, int index, int* hasPages);
    BOOL SetCprByName(DeviceType type, const WCHAR* name, int* index, int* hasPages);

    // Preview graph.
    HRESULT InitCapFilters();
    HRESULT InitAudioCapFilter();
    void FreeCapFilters();
    BOOL BuildPreviewGraph();
    BOOL StartPreview();
    BOOL StopPreview();
    void TearDownGraph();
    void NukeDownstream(IGraphBuilder* graph, IBaseFilter* filter);
    HRESULT xRenderStreamToVMR(const GUID* category, const GUID* type, IUnknown* source,
                               IBaseFilter* intermediate, IBaseFilter** renderer, int unused);
    void EnableVMR(BOOL on);
    HRESULT SetShowRect(int x, int y, int width, int height);
    void xReleasePreEffFilters();
    void xReleaseCapEffFilters();
    HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n, IPin** pin);
    IPin* GetInPin(IBaseFilter* filter, int n);
    IPin* GetOutPin(IBaseFilter* filter, int n);

    // Capture formats and picture controls.
    BOOL GetVideoFormatNum(int* count);
    BOOL GetVideoFormat(int index, _LiteCapVideoInfo* info);
    BOOL GetVideoInfo(_LiteCapVideoInfo* info);
    BOOL SetVideoFormat(_LiteCapVideoInfo* info);
    BOOL SetVideoSetting(VideoProcAmpProperty property, long value);
    BOOL GetVideoSetting(VideoProcAmpProperty property, long* value, long* min, long* max, long* step,
                         long* defaultValue);
    BOOL GetGUIDBySubtype(const WCHAR* name, GUID* guid);
    BOOL GetSubtypeByGUID(GUID* guid, WCHAR* buffer, int length);
    BOOL CallACMAudioFormatDlg();
    // Device property pages in a modal frame; E_INVALIDARG for an unknown type, 1 when the compressor
    // or audio filter is missing; for the camera frame, why its pages could not be shown.
    HRESULT CallOLESettingDlg(LiveCapOLEDlgType type, const WCHAR* title);
    BOOL ShowVideoOLEFilterSettingDlg(const WCHAR* title);
    BOOL ShowVideoOLEPinSettingDlg(const WCHAR* title);
    HRESULT ShowFilterPropertyPage(IBaseFilter* filter, HWND owner);
    HRESULT xSetVideoFormatEx(IAMStreamConfig* config, int width, int height, DWORD compression, int unused,
                              int* unusedOut, int applySize);
    BOOL xIsCaptureSourceSupportResolution(CSize size, VIDEO_STREAM_CONFIG_CAPS caps);
    BOOL xChangeReslution(int restore);

    // Recording: the capture file, the record graph, starting and stopping, statistics and limits.
    // Creates the file afresh at once; FALSE when it cannot be, with the reason as the thread's last
    // error (ERROR_FILENAME_EXCED_RANGE for a name too long, ERROR_BUSY while capturing).
    BOOL SetCaptureFileName(const WCHAR* path);
    BOOL SetRecordFileType(RecordFileType type);
    BOOL SetMinFreeSpace(UINT megabytes, UINT intervalMs);
    BOOL SetCaptureLimit(CaptureLimit kind, LONGLONG value);
    BOOL SetProfileID(unsigned long id);
    BOOL StartCapture(int* status);
    BOOL StopCapture();
    BOOL GetCapturedVideoInfo(_CapturedVideoInfo* info);
    BOOL BuildCaptureGraph2(RecordFileType type);
    BOOL xBuildAudioMuterFilter();

    // Snapshots of the next preview frame: into the host's buffer, or to a file (by its extension BMP,
    // JPEG, PNG, TIFF or GIF), or to the last file name again; and the grabber's connected format.
    BOOL OneSnapshot(BYTE* buffer, UINT size);
    BOOL OneSnapshot(const WCHAR* fileName);
    BOOL OneSnapshot();
    BOOL GetSnapshotHeader(BITMAPINFOHEADER* header);
    // Why the last file snapshot reported LIVECAP_SNAPSHOT_NOT_WRITTEN (a Win32 error code); 0 once
    // one is written.
    DWORD GetSnapshotError() const;

    // Camera model and display switches.
    void SetUsedVideoDeviceName(CString name);
    void SetFlipCompatibility(UINT setting);
    int bIsCompatibilityFlip();
    int IsR8TCamera();
    HRESULT ShowPreview(int show);

    // Effect setters; the preview build re-applies the kept effects through them.
    void SetFlipEnable(int on, int bits);
    void SetRotateEnable(int on, UINT degree, UINT method, DWORD background);
    void SetDigitalZoomEnable(int on, int zoomIndex);
    void SetEnhanceEnable(int on, int strength);
    void SetToneEnable(int on, int strength);
    void SetLowLightEnable(int on, int strength);
    void SetWhiteBoardEnable(int on, int strength);
    void SetCBEnable(int on, int brightness, int contrast);
    void SetPhotoFrameEnable(int on, const WCHAR* framePath);
    void SetDateTimeEnable(int on, int padding);
    void SetBlackWhiteEnable(int on, int strength);
    void SetSepiaEnable(int on, int strength);
    void SetNegativeEnable(int on, int strength);
    void SetEmbossEnable(int on, int strength);
    void SetSphereEnable(int on, int strength);
    void SetSnowEnable(int on, int strength);
    void SetMosaicEnable(int on, int strength);
    void SetSwirlEnable(int on, int strength);
    void SetSpotLightEnable(int on, int strength);
    void SetNoEffect();
    int GetDateTimeEnable();
    void SetDateTimeFont(LOGFONTA& font);
    void GetDateTimeFont(LOGFONTA& font);

    // Flip, rotate and camera quirks.
    int IsFliped();
    UINT GetRotateDegree();
    UINT GetRotateMethod();
    DWORD GetRotateBgColor();
    HRESULT BuildPreFlip();
    UINT GetSnapButtonState();
    int SetVolume(int on);
    void SetQuality(int which, int value);

    // Window procedure of the engine's "STATIC" child (message sink and picture host).
    static LRESULT CALLBACK s_InterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Internal steps (exported with the class; the host does not call them).
    HRESULT EnumVideoDevice();
    HRESULT EnumAudioDevice();
    HRESULT EnumVideoCprFilter();
    HRESULT EnumAudioCprFilter();
    void ReleaseMonikerArray(IMoniker** monikers, int count);
    void xSetCurrentMoniker(IMoniker** monikers, int* current, int index);
    HRESULT GetDeviceNameByMoniker(IMoniker* moniker, WCHAR* buffer, int length);
    BOOL IsSupportsPropertyPage(IBaseFilter* filter);
    BOOL IsValidNameStr(const WCHAR* name);
    HRESULT BuilderSampleGrabber();
    static void WixFreeMediaType(AM_MEDIA_TYPE* type);
    static void WixDeleteMediaType(AM_MEDIA_TYPE* type);

    enum {
        MAX_DEVICES = 4,
        MAX_COMPRESSORS = 32,
        NAME_CHARS = 260,
    };

    // Effect rows in the order the engine keeps their state.
    enum EffectSlot {
        EFFECT_ENHANCE = 0,
        EFFECT_TONE,
        EFFECT_LOWLIGHT,
        EFFECT_WHITEBOARD,
        EFFECT_CB,
        EFFECT_ZOOM,
        EFFECT_PHOTOFRAME,
        EFFECT_DATETIME,
        EFFECT_SPECIAL,
        EFFECT_COUNT,
    };
    // The nine special effects in the order the engine keeps and re-applies them.
    enum SpecialEffect {
        SPEFF_BLACKWHITE = 0,
        SPEFF_EMBOSS,
        SPEFF_SPHERE,
        SPEFF_SEPIA,
        SPEFF_SNOW,
        SPEFF_NEGATIVE,
        SPEFF_MOSAIC,
        SPEFF_SWIRL,
        SPEFF_SPOTLIGHT,
        SPEFF_COUNT,
    };

protected:
    friend class CLiveCaptureGrabberCB;

    HRESULT xEnumCategory(REFCLSID category, IMoniker** monikers, int capacity, int* count,
                          HRESULT emptyResult);
    void xReapplyPreviewEffects();
    // Sizes the video window to the show rectangle; wanted again after anything reconnects the
    // renderer, which may size its window back to the picture's own size.
    void xFitVideoWindow();
    // The camera filter's frame: S_OK once shown, S_FALSE when the camera offers no pages, else the
    // failure of listing the pages or of the frame.
    HRESULT xShowCameraFrame(const WCHAR* title);
    BOOL xSetCurrentVideoCompressor(int index, int* hasPages);
    void xRemoveCompressor(IBaseFilter** compressor, int* currentIndex);
    void xStopCaptureForDeviceChange();
    void xReleaseAll();
    BOOL xReadFormat(BOOL current, int index, _LiteCapVideoInfo* info);

    // Notifications: the sink window's handling and the call of the host's kept procedure.
    BOOL HandleDirectShowNotify(long* message, long* wParam, long* lParam);
    BOOL xIsVideoCaptureFilter(IUnknown* object);
    LRESULT xOnSnapshotTaken(WPARAM callerBuffer);
    LRESULT xNotifyHost(UINT message, WPARAM wParam, LPARAM lParam);
    void xArmFileSnapshot();

    // The effect chain: splicing a plug-in into the preview or the record branch, its parameter
    // passes, and the record build's effect step (the record graph calls it once its streams are
    // rendered; FALSE when a plug-in the recording needs cannot be created).
    int ApplyPreviewQelFilter(QelFilter row, IBaseFilter* plugin, int value);
    int ApplyCaptureQelFilter(QelFilter row, IBaseFilter* plugin, int value);
    int SetPreviewFilterPercent(QelFilter row, IBaseFilter* plugin, int value);
    void SetOffPreviewFilter(QelFilter row, IBaseFilter* plugin);
    IPin* FindInputPin(IGraphBuilder* graph, const char* name, int index);
    IPin* FindOutputPin(IGraphBuilder* graph, const char* name, int index);
    BOOL xInsertCaptureEffects();
    int xSpliceQelFilter(QelFilter row, IBaseFilter* plugin, int value, BOOL record);
    int xPassEffectParams(QelFilter row, IBaseFilter* plugin, int value, int pass);
    void xSetValueEffect(QelFilter row, int on, int value);
    void xSetSpecialEffect(QelFilter row, int on, int strength);
    int GetVimicroCameraFlipStatus();

    // Recording internals.
    const WCHAR* GetCaptureFileName() const;
    ULONGLONG GetMinFreeSpace() const;
    UINT GetSpacePollingInterval() const;
    BOOL MySetCaptureFile(HWND owner);
    BOOL CheckFreeSpace(const WCHAR* path, ULONGLONG bytes);
    static DWORD WINAPI s_PollingFreeSizeThread(LPVOID object);
    BOOL xBuildRecordEnd();
    BOOL xBuildAviMuxAndSink();
    void xConfigureAviMux();
    void xSetMasterStream();
    // The multiplexer input a record splice connects to instead of the one it took apart, where the
    // multiplexer cannot take a second connection on a pin (nullptr: keep the old pin).
    IPin* xFreshMuxInput(IPin* disconnected);
    BOOL xRenewAviMux();
    BOOL xConfigureAsfWriter();
    // After a refused start: the record graph gone, the preview back (see LIVECAP_STATUS_PREVIEW_LOST).
    void xUndoRefusedStart();
    // After a capture or a refused start: both graphs' plug-ins given back, the preview built and
    // started again when wanted; FALSE when a wanted preview could not be brought back.
    BOOL xRestorePreview();
    BOOL xStartPollingThread();
    void xStopPollingThread();
    // The running capture's figures from the statistics interface.
    BOOL xReadCaptureStatistics(_CapturedVideoInfo* info);

    // Settings kept for snapshots, recording, flip and rotate.
    int m_nImageQuality;
    int m_nVideoQuality;
    BOOL m_bUseVMR;
    UINT m_nRotateDegree;
    UINT m_nRotateMethod;
    DWORD m_dwRotateBgColor;
    IBaseFilter* m_pPreRotateFilter;
    IBaseFilter* m_pCapRotateFilter;
    BOOL m_bRotateInPreview;
    BOOL m_bShowPreview;
    BOOL m_bFlipInPreview;
    BOOL m_bFlipOn;
    int m_nFlipBits;
    IBaseFilter* m_pPreviewRenderer;
    IBaseFilter* m_pPreFlipFilter;
    IBaseFilter* m_pCapFlipFilter;
    IUnknown* m_pSnapshotItf[2];
    IBaseFilter* m_pAudioMuter;
    UINT m_nFlipCompatibility;
    BOOL m_bSnapPending;
    BYTE* m_pSnapBuffer;
    BOOL m_bSnapCallerBuffer;
    UINT m_nSnapLength;
    BITMAPINFOHEADER m_bihGrabber;
    char m_szSnapFile[NAME_CHARS];
    DWORD m_dwSnapshotError;
    IUnknown* m_pCameraButton;
    BOOL m_bResolutionLowered;
    int m_nSavedWidth;
    int m_nSavedHeight;
    CString m_strUsedVideoDevice;

    // Devices and compressors.
    int m_nAudioCprCount;
    int m_nCurAudioCpr;
    IBaseFilter* m_pAudioCpr;
    IMoniker* m_rgAudioCprMoniker[MAX_COMPRESSORS];
    ULONGLONG m_ullMinFreeSpace;
    UINT m_nSpacePollingInterval;
    int m_nVideoCprCount;
    int m_nCurVideoCpr;
    IBaseFilter* m_pVideoCpr;
    IMoniker* m_rgVideoCprMoniker[MAX_COMPRESSORS];
    long m_lLastEventCode;
    LONG_PTR m_lLastEventParam1;
    LONG_PTR m_lLastEventParam2;
    HRESULT m_hr;
    CLiveCaptureGrabberCB* m_pGrabberCB;

    // Windows and state.
    RECT m_rcShow;
    HINSTANCE m_hInstance;
    WNDPROC m_pfnNotifyProc;
    HWND m_hVideoWnd;
    HWND m_hNotifyWnd;
    HWND m_hSinkWnd;
    HWND m_hPictureWnd;
    LiveState m_state;
    int m_nOutputCompatibility;
    IMoniker* m_rgVideoMoniker[MAX_DEVICES];
    IMoniker* m_rgAudioMoniker[MAX_DEVICES];
    int m_nCurVideoDevice;
    int m_nCurAudioDevice;
    int m_nVideoDeviceCount;
    int m_nAudioDeviceCount;
    BOOL m_bWantPreview;
    BOOL m_bPreviewBuilt;
    BOOL m_bCaptureBuilt;
    BOOL m_bWantAudio;
    int m_nFrameRate;
    WCHAR m_wszCaptureFile[NAME_CHARS];
    long m_lStartDropped;
    long m_lStartNotDropped;
    DWORD m_dwStartTick;
    BOOL m_bGrabberReady;
    CaptureLimit m_captureLimitKind;
    LONGLONG m_llCaptureLimit;
    int m_nAudioSwitch;
    UINT m_nCaptureStatus;
    BOOL m_bPreviewThroughTee;
    BOOL m_bCaptureClosedCaption;
    BOOL m_bApplyFrameRate;

    // Effects.
    BOOL m_bEffectOn[EFFECT_COUNT];
    BOOL m_bEffectInPreview[EFFECT_COUNT];
    BOOL m_bSpecialSelected[SPEFF_COUNT];
    int m_nEnhanceLevel;
    int m_nToneLevel;
    int m_nLowLightLevel;
    int m_nWhiteBoardLevel;
    int m_nBrightness;
    int m_nContrast;
    int m_nZoomIndex;
    WCHAR m_wszPhotoFrame[NAME_CHARS];
    int m_nDateTimePadding;
    int m_nSpecialStrength[SPEFF_COUNT];

    // Graph.
    ICaptureGraphBuilder2* m_pBuilder;
    IGraphBuilder* m_pGraph;
    IVideoWindow* m_pVideoWindow;
    IMediaEventEx* m_pMediaEvent;
    IBaseFilter* m_pMux;
    IFileSinkFilter* m_pFileSink;
    IConfigAviMux* m_pConfigAviMux;
    IBaseFilter* m_pVideoCapFilter;
    IBaseFilter* m_pAudioCapFilter;
    IBaseFilter* m_pGrabberFilter;
    IBaseFilter* m_pPreEffect[EFFECT_COUNT];
    IBaseFilter* m_pCapEffect[EFFECT_COUNT];
    IAMStreamConfig* m_pVideoConfig;
    IAMStreamConfig* m_pAudioConfig;
    IAMDroppedFrames* m_pDroppedFrames;
    IAMVideoProcAmp* m_pProcAmp;
    BOOL m_bLogToFile;
    RecordFileType m_recordFileType;
    UINT m_nProfileID;

    // The free-space and file-size watch of a running capture: its thread, the event that ends it,
    // and whether it is inside its notification (then a stop cannot wait for it). The file-size
    // limit is 2 GB; tests lower it.
    HANDLE m_hPollingThread;
    HANDLE m_hPollingStop;
    volatile LONG m_lPollerNotifying;
    ULONGLONG m_ullFileSizeLimit;
    BOOL m_bMuxNeedsFreshInput;   // an AVI record graph: see xFreshMuxInput
    // The figures of the capture that ended last, kept at its stop: the host reads them after
    // StopCapture, when the statistics interface has gone with the record graph.
    _CapturedVideoInfo m_lastCaptureInfo;
    BOOL m_bLastCaptureInfoKept;
    // The last capture has ended: a limit notice still on its way for it is not passed on again.
    BOOL m_bCaptureEnded;
};
