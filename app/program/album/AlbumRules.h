#pragma once
// The album's plain rules: which files the scan takes, their order, the frame a clip thumbnail shows,
// where a packed DIB's pixels start, and the scroll top a slider code leads to.
#include <windows.h>

#include "WideText.h"

enum AlbumFileKind { kAlbumOther, kAlbumPicture, kAlbumClip, kAlbumLeftover };

// The album hands on only a path that names one file (WideText.h).
using qelapp::NamesOneFile;

// By the name's last three letters, any case: JPG, BMP pictures; ASF, WMV, AVI clips; "mp~" leftovers.
AlbumFileKind AlbumFileKindOf(const char* name);

// Oldest first: both files found, by local last-write time; equal times or a missing file, by path
// without regard to case. Negative, 0 or positive.
int CompareAlbumFiles(const char* first, const char* second);

// The frame index a clip's thumbnail shows: 30, 20 or 10 once the clip is longer than that, else 0.
int ThumbFrameIndex(INT64 frameCount);

// Colour-table entries and bytes of a DIB header, and the start of its pixel bits.
DWORD DibColorTableEntries(const BITMAPINFOHEADER* header);
DWORD DibColorTableBytes(const BITMAPINFOHEADER* header);
BYTE* DibBits(BITMAPINFOHEADER* header);

// What a file was when it was last tried: whether it was found, its last-write time and size. A clip
// that could not be opened is tried again only once this changes.
struct AlbumFileStamp {
    bool found = false;
    FILETIME written = {};
    ULONGLONG size = 0;

    bool operator==(const AlbumFileStamp& other) const;
    bool operator!=(const AlbumFileStamp& other) const { return !(*this == other); }
};
// A path that does not name one file is never looked up: not found.
AlbumFileStamp ReadAlbumFileStamp(const char* path);

// The album slider's new scroll top for a WM_VSCROLL code, clamped to 0..max; other codes keep top.
int AlbumScrollTop(int code, int top, int max, int pageSize, int position);
