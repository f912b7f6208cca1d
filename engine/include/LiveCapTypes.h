#pragma once
// Records, enumerations and window messages that the capture engine shares with its host program.
#include <windows.h>

// Where the engine stands: set by construction, the preview, a capture and the property frames.
enum LiveState {
    LIVE_CLEAN = 0, // after construction (or InitVideo)
    LIVE_STOPPED = 1,
    LIVE_PREVIEWING = 2,
    LIVE_CAPTURING = 3,
    LIVE_PROPERTYDLG = 4, // a camera property frame is open
};

// Device lists. The compressor methods read 1 as the video compressors and any other value as audio.
enum DeviceType {
    DEVICE_VIDEO = 1,
    DEVICE_AUDIO = 2,
};

// Which property pages CallOLESettingDlg shows.
enum LiveCapOLEDlgType {
    OLEDLG_VIDEO_STREAM = 0,     // stream format of the camera's capture pin
    OLEDLG_VIDEO_FILTER = 1,     // the camera filter
    OLEDLG_VIDEO_COMPRESSOR = 2, // the current video compressor
    OLEDLG_AUDIO_FILTER = 3,     // the audio capture filter
};

// Container and writer of the next recording.
enum RecordFileType {
    RECORD_AVI = 0,         // audio muted when the audio switch is off
    RECORD_AVI_NOAUDIO = 1, // audio capture filter taken out when the audio switch is off
    RECORD_ASF_PROFILE = 2, // ASF with the writer's current profile
    RECORD_ASF_SYSTEM = 3,  // ASF with a system profile chosen by the video quality
};

// A recording limit kind, kept with a 64-bit value.
enum CaptureLimit {
    CAPTURE_LIMIT_NONE = 0,
    CAPTURE_LIMIT_TIME = 1,
    CAPTURE_LIMIT_SIZE = 2,
};

// One capture format of the camera (nine 32-bit words).
struct _LiteCapVideoInfo {
    int nWidth;      // biWidth
    int nHeight;     // biHeight
    int nFrameRate;  // 10,000,000 / AvgTimePerFrame
    int nBitCount;   // biBitCount
    DWORD dwBitRate; // dwBitRate of the VIDEOINFOHEADER
    GUID subtype;    // media subtype
};

// Statistics of the running capture.
struct _CapturedVideoInfo {
    int nFramesCaptured;
    int nFramesDropped;
    int nAverageFrameSize; // bytes; 0 when the driver cannot tell
    DWORD dwElapsedMs;
};

// Notifications to the host's notify window (by a call of its window procedure).
#define WM_LIVECAP_SNAPSHOT 0x431   // snapshot done
#define WM_LIVECAP_FILELIMIT 0x432  // capture stopped at 2 GB or by the end of the stream
#define WM_LIVECAP_DEVICELOST 0x433 // camera removed
#define WM_LIVECAP_ERRORABORT 0x434 // graph error abort
#define WM_LIVECAP_LOWDISK 0x435    // free space below the minimum; capture stopped
// lParam of WM_LIVECAP_SNAPSHOT with wParam 0: the file snapshot's outcome. Not written: nothing is
// left under the file's name, and CLiveCapture::GetSnapshotError tells why. (0 stays free: hosts
// use (0, 0) for notices of their own.)
#define LIVECAP_SNAPSHOT_WRITTEN 1
#define LIVECAP_SNAPSHOT_NOT_WRITTEN 2
// Graph events, to the engine's own child window.
#define WM_LIVECAP_GRAPHNOTIFY 0x8030

// A bit of StartCapture's status word beside those of the record build: the start was refused, and
// the preview the host wants could not be brought back (the picture stays black until a camera is
// chosen again).
#define LIVECAP_STATUS_PREVIEW_LOST 0x10000

// The engine's own result codes (Win32 error numbers).
#define LIVECAP_E_NODEVICE 1167      // ERROR_DEVICE_NOT_CONNECTED: no input device can be listed
#define LIVECAP_E_NOCOMPRESSOR 1168  // ERROR_NOT_FOUND: no compressor can be listed
#define LIVECAP_E_BADDEVICENAME 1200 // ERROR_BAD_DEVICE: the name is not among the listed devices
