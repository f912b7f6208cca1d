#pragma once
// One run of the thumbnail scan and of the repair of recordings cut short, shared by the main dialog
// and the scan's thread. The thread works on nothing but this object (its folders, its stop event,
// its record buffer) and reaches the dialog only through sent messages; the last of the two to let go
// deletes it. So a dialog that waits at most a moment for a stopped scan may go at once: the thread,
// when it ends later, touches nothing the dialog freed.
#include <afxwin.h>

#include "AlbumItemInfo.h"

class CAlbumScanJob {
public:
    struct Setup {
        CString imageFolder;
        CString videoFolder;
        HWND receiver = nullptr;
        BOOL listAlbum = TRUE; // FALSE: only the repair of the video folder
        BOOL timed = FALSE;    // show the time the listing took
        // A folder whose repair an earlier scan left unfinished (Setup may have named new folders
        // meanwhile); empty when none.
        CString leftRepairFolder;
    };

    // The job with its thread running at the lowest priority; null when it could not be made.
    static CAlbumScanJob* Start(const Setup& setup);

    // Sets the stop event and waits at most limitMs for the thread, serving what it sends meanwhile.
    // TRUE when the thread has ended.
    BOOL Stop(DWORD limitMs);
    // The dialog lets go of the job; a thread still running keeps it until its end.
    void Release();

    // On the receiver's thread, answering WM_LIVECAP_SNAPSHOT (0, 0): the record this scan handed
    // over, once. FALSE when there is none (the message came from a scan stopped earlier).
    BOOL TakeRecord(_AlbumItemInfo* record);
    // Whether the video folder (and the folder left by an earlier scan) need no repair any more:
    // FALSE while the repair runs or when it was stopped.
    BOOL RepairDone() const { return InterlockedCompareExchange(&repairDone_, 0, 0) != 0; }

private:
    explicit CAlbumScanJob(const Setup& setup);
    ~CAlbumScanJob();
    static unsigned __stdcall Run(void* param);
    void Body();
    BOOL Stopped() const { return ::WaitForSingleObject(stopEvent_, 0) != WAIT_TIMEOUT; }

    const Setup setup_;
    HANDLE stopEvent_ = nullptr; // manual reset
    HANDLE thread_ = nullptr;
    mutable volatile LONG refs_ = 2; // the dialog's and the thread's
    _AlbumItemInfo record_ = {};
    volatile LONG recordHandedOver_ = FALSE;
    mutable volatile LONG repairDone_ = FALSE;
};
