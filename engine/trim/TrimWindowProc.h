#pragma once
// The process-wide slot of the window procedure that the editor's notification procedure forwards
// to; an owner that installs that procedure fills it. Every editor's construction clears it.
#include <windows.h>

extern WNDPROC s_TrimSavedWindowProc;

// The trim editor's window messages.
constexpr UINT WM_TRIM_GRAPHNOTIFY = 0x1500;
constexpr UINT WM_TRIM_PREVIEWDONE = 0x1501;
constexpr UINT WM_TRIM_PROCESSDONE = 0x1502;
constexpr UINT WM_TRIM_LOWDISK = 0x1503;
