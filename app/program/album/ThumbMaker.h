#pragma once
// Makes album thumbnails and the viewer's clip stills away from the user-interface thread: a picture
// from its file, a clip from a frame the media frame reader gives. A clip whose reader does not answer
// within the time limit is given up: its requester gets the placeholder, and the thread stuck in the
// platform's call (which cannot be cancelled) is left behind; a job slower than its turn lets the next
// request start beside it.
// Nothing here ever waits for a stuck thread; one that comes back late still delivers its answer.
#include <windows.h>

class CImage;
struct IMediaFrameReader;

// Posted to the requesting window: lParam is a ThumbResult* the window takes over (it deletes it).
constexpr UINT WM_ZENTRIK_THUMB_READY = WM_APP + 0x40;

// Width and height of a made thumbnail: the item less its 1-pixel frame, so it is drawn unscaled.
constexpr int kThumbImageWidth = 86, kThumbImageHeight = 64;

struct ThumbResult {
    ThumbResult() = default;
    ~ThumbResult();
    ThumbResult(const ThumbResult&) = delete;
    ThumbResult& operator=(const ThumbResult&) = delete;

    CImage* thumb = nullptr; // thumbnail-sized, owned; null when none could be made
    bool timedOut = false;   // the file did not answer in time (now or before): show the placeholder
    bool late = false;       // the answer of a file that was given up on and came back after all
    // Clips, when the reader opened the file: what the album record keeps of it.
    bool opened = false;
    double framesPerSecond = 0;
    double seconds = 0;
    bool hasAudio = false;
    int frameWidth = 0, frameHeight = 0; // of the frame read (0 when none was)
    // Viewer stills: the whole frame read (a movable block, owned) and the open reader (one reference,
    // owned), with the requester's number of the request.
    HGLOBAL frame = nullptr;
    IMediaFrameReader* reader = nullptr;
    UINT request = 0;

    // The reader and the frame pass to the caller, who releases and frees them.
    IMediaFrameReader* TakeReader();
    HGLOBAL TakeFrame();
};

// Queues a thumbnail for window; clip chooses the reader, a picture is loaded from path. Returns at once.
void RequestThumbnail(HWND window, const char* path, bool clip);

// Queues the viewer's still of a clip: its first frame whole and the reader left open on it, answered
// like a thumbnail with request carried back. It goes before the thumbnails, and replaces an earlier
// still that window asked for and that is not in the making yet.
void RequestClipStill(HWND window, const char* path, UINT request);

// Whether a clip at path was given up because its reader did not answer in time (this run) and has not
// answered since: opening it on the window's thread would hang that thread.
bool ClipDidNotAnswer(const char* path);

// At the program's end: drops what is queued and waits a little for a job inside GDI+, never for a
// stuck thread. Later requests are refused. Whether GDI+ may be shut down: no job is inside it and
// none enters it again. When false, GDI+ must stay up to the end of the process.
bool StopThumbnailMaking();

// Jobs whose thread has not come back yet, given up or not: at the program's end one is inside the
// platform (a reader that a damaged clip hangs) or inside GDI+.
int ThumbJobsRunning();

// How long a clip or a picture may go without progress (its thread's processor time does not grow)
// before it is given up (it may take three times as long in all while it works), and how many clips
// stuck in their reader are tolerated; beyond that a clip not tried yet waits until one comes back.
constexpr DWORD kThumbLimitMs = 10000;
constexpr int kMaxStuckThumbThreads = 8;
// A job not answered within its turn lets the next start beside it, up to this many jobs at once: a
// file that hangs holds back none behind it. Clips being read count toward the stuck number too.
constexpr DWORD kThumbTurnMs = 1000;
constexpr int kMaxThumbJobsAtOnce = 8;
// At the end, how long a job inside GDI+ is waited for.
constexpr DWORD kThumbStopWaitMs = 2000;

#ifdef QEL_TEST_SEAMS
// For tests (qel_program_test_seams only): the limit in place of kThumbLimitMs, and a call made with
// the path at the start of each job's work (a picture's inside its GDI+ use), on the job's thread. Set
// before the first request.
using ThumbWorkHook = void (*)(const char* path);
void SetThumbMakingForTest(DWORD limitMs, ThumbWorkHook hook);
#endif
