#pragma once
// The start-up checks of the system: Windows family, DirectX level and the Windows Media runtime.
#include <windows.h>

// 1 Windows 9x below minor 90, 2 Windows 9x from minor 90, 3 NT before 5.0 build 2196, 4 later NT,
// 5 a class-4 system on exactly "Service Pack 2".
void GetOsClass(int* out);
// 0x900 with a loadable "D3D9.DLL", else 0x800 with "D3D8.DLL", else 0.
unsigned GetDirectXLevel();
// FALSE for any request but 0x800 and 0x900; else whether the level reaches it.
BOOL IsDirectXLevelPresent(unsigned required);
// Whether the Windows Media Format runtime's version (the "playback_WMFSDK" key) starts with '9'.
BOOL IsWmf9RuntimeInstalled();
