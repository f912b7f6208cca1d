#pragma once
// _AlbumItemInfo: one album entry, copied by value between the thumbnail scan, the main dialog, the
// capture panel and each thumbnail.
#include <windows.h>

struct _AlbumItemInfo {
    INT32 isPicture;          // 1 picture, 0 clip
    INT64 frameCount;         // clip: duration x frame rate (truncated); picture: 1
    INT64 secondCount;        // 0; not read by the album
    INT32 spare[2];           // clip: -1, -1 once its thumbnail is made; picture: 0, 0
    INT64 duration;           // clip: 100-ns units; picture: 0
    INT32 width;              // clip: size of its thumbnail image; picture: 0
    INT32 height;
    INT32 framesPerSecond;    // clip: 10,000,000 / AvgTimePerFrame, truncated
    INT32 clipFlags[2];       // clip: 1, 1 once its thumbnail is made; picture: 0, 0
    INT32 hasAudio;           // clip: the reader reports an audio stream
    char path[MAX_PATH];        // full path of the file
    char displayPath[MAX_PATH]; // the path the commands on a selection use
    char imagePath[MAX_PATH];   // picture: the file shown as its thumbnail; clip: deleted with the item
};
