// The engine object as a whole: defaults, start-up with the engine's own child window, the camera
// probe, and destruction.
#include "LiveCaptureInternal.h"

#include <cwchar>

CLiveCapture::CLiveCapture() {
    CleanMemberVar();
}

CLiveCapture::~CLiveCapture() {
    xReleaseAll();
}

void CLiveCapture::CleanMemberVar() {
    m_nImageQuality = 100;
    m_dwSnapshotError = 0;
    m_nVideoQuality = 100;
    m_bUseVMR = FALSE;
    m_nRotateDegree = 0;
    m_nRotateMethod = 0;
    m_dwRotateBgColor = 0;
    m_pPreRotateFilter = nullptr;
    m_pCapRotateFilter = nullptr;
    m_bRotateInPreview = FALSE;
    m_bShowPreview = TRUE;
    m_bFlipInPreview = FALSE;
    m_bFlipOn = FALSE;
    m_nFlipBits = 0;
    m_pPreviewRenderer = nullptr;
    m_pPreFlipFilter = nullptr;
    m_pCapFlipFilter = nullptr;
    m_pSnapshotItf[0] = m_pSnapshotItf[1] = nullptr;
    m_pAudioMuter = nullptr;
    m_nFlipCompatibility = 0xFFFFFFFF;
    m_bSnapPending = FALSE;
    m_pSnapBuffer = nullptr;
    m_bSnapCallerBuffer = FALSE;
    m_nSnapLength = 0;
    ZeroMemory(&m_bihGrabber, sizeof m_bihGrabber);
    ZeroMemory(m_szSnapFile, sizeof m_szSnapFile);
    m_pCameraButton = nullptr;
    m_bResolutionLowered = FALSE;
    m_nSavedWidth = 0;
    m_nSavedHeight = 0;
    // The used device name is the host's: nothing in the engine resets it.

    m_nAudioCprCount = 0;
    m_nCurAudioCpr = -1;
    m_pAudioCpr = nullptr;
    ZeroMemory(m_rgAudioCprMoniker, sizeof m_rgAudioCprMoniker);
    m_ullMinFreeSpace = 0;
    m_nSpacePollingInterval = 0;
    m_nVideoCprCount = 0;
    m_nCurVideoCpr = -1;
    m_pVideoCpr = nullptr;
    ZeroMemory(m_rgVideoCprMoniker, sizeof m_rgVideoCprMoniker);
    m_lLastEventCode = 0;
    m_lLastEventParam1 = 0;
    m_lLastEventParam2 = 0;
    m_hr = S_OK;
    m_pGrabberCB = nullptr;

    SetRectEmpty(&m_rcShow);
    m_hInstance = nullptr;
    m_pfnNotifyProc = nullptr;
    m_hVideoWnd = nullptr;
    m_hNotifyWnd = nullptr;
    m_hSinkWnd = nullptr;
    m_hPictureWnd = nullptr;
    m_state = LIVE_CLEAN;
    m_nOutputCompatibility = 0;
    ZeroMemory(m_rgVideoMoniker, sizeof m_rgVideoMoniker);
    ZeroMemory(m_rgAudioMoniker, sizeof m_rgAudioMoniker);
    m_nCurVideoDevice = -1;
    m_nCurAudioDevice = -1;
    m_nVideoDeviceCount = 0;
    m_nAudioDeviceCount = 0;
    m_bWantPreview = TRUE;
    m_bPreviewBuilt = FALSE;
    m_bCaptureBuilt = FALSE;
    m_bWantAudio = FALSE;
    m_nFrameRate = 15;
    ZeroMemory(m_wszCaptureFile, sizeof m_wszCaptureFile);
    wcscpy(m_wszCaptureFile, L"outavi");
    m_lStartDropped = 0;
    m_lStartNotDropped = 0;
    m_dwStartTick = 0;
    m_bGrabberReady = FALSE;
    m_captureLimitKind = CAPTURE_LIMIT_NONE;
    m_llCaptureLimit = 0;
    m_nAudioSwitch = 1;
    m_nCaptureStatus = 0;
    m_bPreviewThroughTee = FALSE;
    m_bCaptureClosedCaption = FALSE;
    m_bApplyFrameRate = TRUE;

    ZeroMemory(m_bEffectOn, sizeof m_bEffectOn);
    ZeroMemory(m_bEffectInPreview, sizeof m_bEffectInPreview);
    ZeroMemory(m_bSpecialSelected, sizeof m_bSpecialSelected);
    m_nEnhanceLevel = 0;
    m_nToneLevel = 0;
    m_nLowLightLevel = 0;
    m_nWhiteBoardLevel = 0;
    m_nBrightness = 0;
    m_nContrast = 0;
    m_nZoomIndex = 0;
    ZeroMemory(m_wszPhotoFrame, sizeof m_wszPhotoFrame);
    m_nDateTimePadding = 9;
    ZeroMemory(m_nSpecialStrength, sizeof m_nSpecialStrength);

    m_pBuilder = nullptr;
    m_pGraph = nullptr;
    m_pVideoWindow = nullptr;
    m_pMediaEvent = nullptr;
    m_pMux = nullptr;
    m_pFileSink = nullptr;
    m_pConfigAviMux = nullptr;
    m_pVideoCapFilter = nullptr;
    m_pAudioCapFilter = nullptr;
    m_pGrabberFilter = nullptr;
    ZeroMemory(m_pPreEffect, sizeof m_pPreEffect);
    ZeroMemory(m_pCapEffect, sizeof m_pCapEffect);
    m_pVideoConfig = nullptr;
    m_pAudioConfig = nullptr;
    m_pDroppedFrames = nullptr;
    m_pProcAmp = nullptr;
    m_bLogToFile = FALSE;
    m_recordFileType = RECORD_ASF_SYSTEM;
    m_nProfileID = 22;
    m_hPollingThread = nullptr;   // xReleaseAll has ended the watch before a clean-up
    m_hPollingStop = nullptr;
    m_lPollerNotifying = 0;
    m_ullFileSizeLimit = 0x80000000ull;
    m_bMuxNeedsFreshInput = FALSE;
    ZeroMemory(&m_lastCaptureInfo, sizeof m_lastCaptureInfo);
    m_bLastCaptureInfoKept = FALSE;
    m_bCaptureEnded = FALSE;
}

// Everything the object holds, in the order the destructor gives it back.
void CLiveCapture::xReleaseAll() {
    if (m_state == LIVE_CAPTURING) {
        m_bWantPreview = FALSE; // nothing may restart
        StopCapture();
    }
    xStopPollingThread();   // also a watch whose capture ended another way
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    SafeRelease(m_pVideoCpr);
    SafeRelease(m_pAudioCpr);
    TearDownGraph();
    FreeCapFilters();
    ReleaseMonikerArray(m_rgVideoCprMoniker, MAX_COMPRESSORS);
    ReleaseMonikerArray(m_rgAudioCprMoniker, MAX_COMPRESSORS);
    xSetCurrentMoniker(m_rgVideoMoniker, &m_nCurVideoDevice, -1);
    xSetCurrentMoniker(m_rgAudioMoniker, &m_nCurAudioDevice, -1);
    ReleaseMonikerArray(m_rgVideoMoniker, MAX_DEVICES);
    ReleaseMonikerArray(m_rgAudioMoniker, MAX_DEVICES);
    if (!m_bSnapCallerBuffer)
        delete[] m_pSnapBuffer;
    m_pSnapBuffer = nullptr;
    delete m_pGrabberCB;
    m_pGrabberCB = nullptr;
    if (m_hSinkWnd && IsWindow(m_hSinkWnd))
        DestroyWindow(m_hSinkWnd);
    m_hSinkWnd = nullptr;
    m_hPictureWnd = nullptr;
}

HRESULT CLiveCapture::InitLiveCapture(HINSTANCE instance, HWND videoWindow, HWND notifyWindow,
                                      int logToFile) {
    if (!instance || !videoWindow)
        return E_INVALIDARG;
    m_hInstance = instance;
    m_hVideoWnd = videoWindow;
    m_hNotifyWnd = notifyWindow ? notifyWindow : videoWindow;
    m_bLogToFile = logToFile;

    // The host's procedure is kept and called directly with the notifications; it is never replaced.
    const WNDPROC notifyProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hNotifyWnd, GWLP_WNDPROC));
    if (!notifyProc)
        return E_INVALIDARG;
    m_pfnNotifyProc = notifyProc;

    RECT window;
    if (GetWindowRect(m_hVideoWnd, &window)) {
        POINT topLeft = {window.left, window.top};
        ScreenToClient(m_hVideoWnd, &topLeft);
        SetRect(&m_rcShow, topLeft.x, topLeft.y, topLeft.x + (window.right - window.left),
                topLeft.y + (window.bottom - window.top));
    }

    // A second start-up replaces the child window of the first.
    if (m_hSinkWnd && IsWindow(m_hSinkWnd))
        DestroyWindow(m_hSinkWnd);
    m_hSinkWnd = m_hPictureWnd = nullptr;
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, m_rcShow.left,
                                 m_rcShow.top, m_rcShow.right - m_rcShow.left, m_rcShow.bottom - m_rcShow.top,
                                 m_hVideoWnd, nullptr, m_hInstance, nullptr);
    if (!child)
        return E_INVALIDARG;
    m_hSinkWnd = m_hPictureWnd = child;
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CLiveCapture::s_InterWindowProc));

    m_hr = EnumVideoDevice();
    if (m_hr != S_OK) {
        LIVECAP_LOG(this, m_hr);
        return m_hr;
    }
    EnumVideoCprFilter();
    EnumAudioDevice();
    EnumAudioCprFilter();
    return 0;
}

int CLiveCapture::InitVideo(const WCHAR* deviceName) {
    int result = 1;
    if (deviceName && *deviceName && EnumVideoDevice() == S_OK) {
        int match = -1;
        for (int i = 0; i < MAX_DEVICES && match < 0; ++i) {
            WCHAR name[NAME_CHARS] = {0};
            if (m_rgVideoMoniker[i] &&
                SUCCEEDED(GetDeviceNameByMoniker(m_rgVideoMoniker[i], name, NAME_CHARS)) &&
                wcscmp(name, deviceName) == 0)
                match = i;
        }
        if (match >= 0) {
            xSetCurrentMoniker(m_rgVideoMoniker, &m_nCurVideoDevice, match);
            FreeCapFilters();
            if (InitCapFilters() == S_OK)
                result = 0;
        }
    }
    // The probe leaves the object clean; what it made is given back first.
    xReleaseAll();
    CleanMemberVar();
    return result;
}

LiveState CLiveCapture::GetClassState() const {
    return m_state;
}

HWND CLiveCapture::GetClassNotifyHWND() const {
    return m_hSinkWnd;
}

void CLiveCapture::SetOutputCompatibility(int value) {
    m_nOutputCompatibility = value;
}
