#pragma once
// Makes album thumbnails away from the user-interface thread: a picture from its file, a clip from a
// frame the media frame reader gives, each scaled down to the thumbnail's size so that an album keeps
// no picture whole. A clip whose reader does not answer within the time limit is given up: its item
// gets the placeholder, and the thread stuck in the platform's call (which cannot be cancelled) is
// left behind; a new thread takes the next request. Nothing here ever waits for a stuck thread.
#include <windows.h>

class CImage;

// Posted to the requesting window: lParam is a ThumbResult* the window takes over (it deletes it).
constexpr UINT WM_ZENTRIK_THUMB_READY = WM_APP + 0x40;

// Width and height of a made thumbnail: the item less its 1-pixel frame, so it is drawn unscaled.
constexpr int kThumbImageWidth = 86, kThumbImageHeight = 64;

struct ThumbResult {
    ~ThumbResult();
    CImage* thumb = nullptr; // thumbnail-sized, owned; null when none could be made
    bool timedOut = false;   // the file did not answer in time: show the placeholder
    // Clips, when the reader opened the file: what the album record keeps of it.
    bool opened = false;
    double framesPerSecond = 0;
    double seconds = 0;
    bool hasAudio = false;
    int frameWidth = 0, frameHeight = 0; // of the frame read (0 when none was)
};

// Queues a thumbnail for window; clip chooses the reader, a picture is loaded from path. Returns at once.
void RequestThumbnail(HWND window, const char* path, bool clip);

// Whether a clip at path was given up because its reader did not answer in time (this run): opening
// it again on the window's thread would hang that thread.
bool ClipDidNotAnswer(const char* path);

// At the program's end, before GDI+ stops: drops what is queued and waits a little for a thumbnail in
// the making, never for a stuck thread. Later requests are refused.
void StopThumbnailMaking();

// How long a clip may take to give its frame, and how many stuck threads are tolerated before clips
// are given the placeholder without a try.
constexpr DWORD kClipThumbLimitMs = 10000;
constexpr int kMaxStuckThumbThreads = 4;
