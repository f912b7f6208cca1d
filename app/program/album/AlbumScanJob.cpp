// The scan's shared job and its thread: see AlbumScanJob.h.
#include "AlbumScanJob.h"

#include <process.h>

#include "MainDlg.h"
#include "ProgramGlobals.h"
#include "SentMessageWait.h"
#include "RecordingRecovery.h"
#include "ThumbScan.h"

namespace {

// A folder's full path without a trailing backslash.
CString FullFolderPath(const CString& folder) {
    char full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameA(folder, MAX_PATH, full, nullptr);
    CString path = length > 0 && length < MAX_PATH ? CString(full) : folder;
    while (path.GetLength() > 3 && path[path.GetLength() - 1] == '\\')
        path = path.Left(path.GetLength() - 1);
    return path;
}

// One scan at a time works on the folders: a scan its stopper stopped waiting for may still be letting
// go of a file (a few slow reads), and the scan after it would find that file in use and pass it by.
// Never closed: a scan thread may still reach it while the program ends.
HANDLE ScanTurn() {
    static const HANDLE turn = ::CreateMutexA(nullptr, FALSE, nullptr);
    return turn;
}
// A scan that is stuck (a read on a vanished drive) holds the turn no longer than this for the next.
constexpr DWORD kTurnWaitMs = 5000;

// Whether two folder paths name the same folder (a trailing backslash or the case aside).
bool SameFolder(const CString& a, const CString& b) { return FullFolderPath(a).CompareNoCase(FullFolderPath(b)) == 0; }

} // namespace

CAlbumScanJob::CAlbumScanJob(const Setup& setup) : setup_(setup) {
    stopEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CAlbumScanJob::~CAlbumScanJob() {
    if (thread_)
        ::CloseHandle(thread_);
    if (stopEvent_)
        ::CloseHandle(stopEvent_);
}

CAlbumScanJob* CAlbumScanJob::Start(const Setup& setup) {
    auto* job = new CAlbumScanJob(setup);
    if (!job->stopEvent_) {
        delete job;
        return nullptr;
    }
    const uintptr_t thread = _beginthreadex(nullptr, 0, Run, job, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        delete job;
        return nullptr;
    }
    job->thread_ = reinterpret_cast<HANDLE>(thread);
    ::SetThreadPriority(job->thread_, THREAD_PRIORITY_LOWEST);
    ::ResumeThread(job->thread_);
    return job;
}

BOOL CAlbumScanJob::Stop(DWORD limitMs) {
    ::SetEvent(stopEvent_);
    // The scan may sit in SendMessage to this thread: serving it lets it reach its next stop check.
    return WaitHandlingSentMessages(thread_, limitMs);
}

void CAlbumScanJob::Release() {
    if (InterlockedDecrement(&refs_) == 0)
        delete this;
}

BOOL CAlbumScanJob::TakeRecord(_AlbumItemInfo* record) {
    if (!InterlockedExchange(&recordHandedOver_, FALSE))
        return FALSE;
    *record = record_; // the scan waits in its send meanwhile
    return TRUE;
}

unsigned __stdcall CAlbumScanJob::Run(void* param) {
    auto* job = static_cast<CAlbumScanJob*>(param);
    const HANDLE turn = ScanTurn();
    const HANDLE waits[2] = {job->stopEvent_, turn};
    const DWORD woke = turn ? ::WaitForMultipleObjects(2, waits, FALSE, kTurnWaitMs) : WAIT_FAILED;
    const bool holdsTurn = woke == WAIT_OBJECT_0 + 1 || woke == WAIT_ABANDONED_0 + 1;
    job->Body(); // also when stopped meanwhile: the listing then ends at once, with its end word
    if (holdsTurn)
        ::ReleaseMutex(turn);
    job->Release();
    return 0;
}

void CAlbumScanJob::Body() {
    const DWORD started = ::GetTickCount();
    BOOL listed = FALSE;
    if (setup_.listAlbum) {
        listed = ScanAlbumFolder(setup_.imageFolder, stopEvent_, setup_.receiver, &record_, &recordHandedOver_);
        ::SendMessageA(setup_.receiver, WM_ZENTRIK_SCAN_ENDED, listed, reinterpret_cast<LPARAM>(this));
    }
    const DWORD seconds = (::GetTickCount() - started) / 1000;
    // The album lists only the image folder: a recording cut short in a video folder of its own is
    // finished here, after the album is filled.
    BOOL repaired = SameFolder(setup_.imageFolder, setup_.videoFolder) ||
                    FinishCutShortRecordingsIn(setup_.videoFolder, stopEvent_);
    const CString& left = setup_.leftRepairFolder;
    if (repaired && !left.IsEmpty() && !SameFolder(left, setup_.imageFolder) && !SameFolder(left, setup_.videoFolder))
        repaired = FinishCutShortRecordingsIn(left, stopEvent_);
    if (repaired)
        InterlockedExchange(&repairDone_, TRUE);
    if (listed && setup_.timed && !Stopped()) {
        CString text;
        text.Format("Thumbnail Complete Total time = %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                    static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        ::MessageBoxA(nullptr, text, "", MB_OK);
    }
}
