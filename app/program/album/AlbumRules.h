#pragma once
// The album's plain rules: which files the scan takes, their order, the frame a clip thumbnail shows,
// where a packed DIB's pixels start, and the scroll top a slider code leads to.
#include <windows.h>

enum AlbumFileKind { kAlbumOther, kAlbumPicture, kAlbumClip, kAlbumLeftover };

// Whether path can be handed on as the name of one file: not empty and free of the wildcards '?' and
// '*' (an ANSI listing puts '?' for every letter the code page lacks, and such a name is a pattern that
// also matches the user's other files).
bool NamesOneFile(const char* path);

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
