#pragma once
// What the program keeps for its whole run: the message the camera-button utility sends, the window
// title, the skin paths and the device lists that live mode collects for the settings pages.
#include <afxwin.h>
#include <afxcoll.h>

// "QEL_ZENTRIK_MESSAGE", registered at load.
extern const UINT g_zentrikMessage;
// String 55050, loaded when the main frame is created.
extern CString g_windowTitle;
// The skin folder (program folder + "skin\default\") and its settings file (+ "Zentrik\Settings.ini").
extern CString g_skinFolder;
extern char g_skinSettingsPath[MAX_PATH];

// Filled by live mode: camera names, audio input names, and the capture sizes the camera offers
// (MAKELONG(width, height), ascending by width, then height).
extern CStringList g_cameraNames;
extern CStringList g_audioDeviceNames;
extern CDWordArray g_captureSizes;

// The program's private window messages.
enum : UINT {
    WM_ZENTRIK_VIDEO_SETTINGS = 0x1400,
    WM_ZENTRIK_CAMERA_CHOSEN = 0x1401,
    WM_ZENTRIK_RESOLUTION_TEXT = 0x1402,
    WM_ZENTRIK_EFFECT_PICKED = 0x1404,
    WM_ZENTRIK_SIZE_MODE = 0x1405,
    WM_ZENTRIK_EXTERNAL_KEY = 0x1407,
    WM_ZENTRIK_CLOSE = 0x1408,
    WM_ZENTRIK_IGNORED = 0x1409,
    WM_ZENTRIK_ITEM_OPEN = 0x1410,
    WM_ZENTRIK_ITEM_CLICK = 0x1411,
    WM_ZENTRIK_PLAY_PROGRESS = 0x1412,
    // The thumbnail scan's word at the end of its listing (sent): wParam TRUE when the listing's end
    // steps are due (something was listed), lParam the scan's job.
    WM_ZENTRIK_SCAN_ENDED = 0x1413,
};

// The playback library's progress callback: the position reaches the main window as message 0x1412,
// wParam the current and lParam the stop position (whole 64-bit values, 100-ns units). A report the
// window does not take within kPlaybackReportLimitMs is dropped.
constexpr UINT kPlaybackReportLimitMs = 1000;
void CALLBACK OnPlaybackProgress(LONGLONG start, LONGLONG stop, LONGLONG current, DWORD user);
