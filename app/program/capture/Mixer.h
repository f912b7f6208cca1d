#pragma once
// The microphone line of the first mixer: its mute switch and volume control.
#include <windows.h>
#include <mmsystem.h>

// Opens mixer 0 with notifications to window; the control ids stay -1 when absent. The mixer handle
// is null when there is no mixer.
void OpenMicrophoneMixer(HWND window, HMIXER* mixer, DWORD* muteControlId, DWORD* volumeControlId);
// No mute control counts as muted; a failed read as not muted.
BOOL IsMicrophoneMuted(HMIXER mixer, DWORD muteControlId);
// Switches the mute control; nothing without one. FALSE when the switch fails.
BOOL SetMicrophoneMute(HMIXER mixer, DWORD muteControlId, BOOL muted);
