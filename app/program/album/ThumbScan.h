#pragma once
// The thumbnail scan's body: lists the album folder (finishing any recording a crash or a kill cut
// short on the way), sorts it oldest first and hands the records to receiver newest first, each
// through the shared buffer and a sent WM_LIVECAP_SNAPSHOT (0, 0).
#include <windows.h>

#include "AlbumItemInfo.h"

// The stop event (manual reset) cuts listing, repair and hand-over short. FALSE when nothing was
// listed (or the sort's index block failed): the scan then ends without its end steps. handedOver,
// when given, is set just before each send, so that the receiver can tell a record it has not taken.
BOOL ScanAlbumFolder(const char* folder, HANDLE stopEvent, HWND receiver, _AlbumItemInfo* buffer,
                     volatile LONG* handedOver = nullptr);
