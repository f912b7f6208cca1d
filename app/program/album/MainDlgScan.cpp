// The main dialog's side of the thumbnail scan: starting it, stopping it (Close, Setup's OK) without
// waiting on its files for more than a moment, and the records and end it sends.
#include "MainDlg.h"

#include "AlbumScanJob.h"
#include "ProgramGlobals.h"

namespace {

// How long Close and Setup's OK wait for a stopped scan: a repair on a slow or vanished drive may
// sit in one read far longer, and the user-interface thread does not wait for it.
constexpr DWORD kScanStopWaitMs = 100;

} // namespace

void CMainDlg::StartThumbScan(BOOL listAlbum, const CString& leftRepairFolder) {
    m_imageFolder = m_capture.GetImageFolder();
    m_videoFolder = m_capture.GetVideoFolder();
    CAlbumScanJob::Setup setup;
    setup.imageFolder = m_imageFolder;
    setup.videoFolder = m_videoFolder;
    setup.receiver = m_hWnd;
    setup.listAlbum = listAlbum;
    setup.leftRepairFolder = leftRepairFolder;
    setup.timed = ::GetPrivateProfileIntA("GetTimeSpan", "GetSpan", 0, g_skinSettingsPath) != 0;
    InterlockedExchange(&m_scanRunning, listAlbum);
    m_scanJob = CAlbumScanJob::Start(setup);
    if (!m_scanJob)
        InterlockedExchange(&m_scanRunning, FALSE);
}

void CMainDlg::StopThumbScan() {
    if (!m_scanJob)
        return;
    m_scanJob->Stop(kScanStopWaitMs); // a scan that has not ended by then ends on its own
    m_scanRepairDone = m_scanJob->RepairDone();
    m_scanJob->Release();
    m_scanJob = nullptr;
    InterlockedExchange(&m_scanRunning, FALSE);
}

void CMainDlg::OnScanRecord() {
    if (m_scanJob && m_scanJob->TakeRecord(&m_itemInfo))
        AddAlbumRecord(m_itemInfo, FALSE);
}

LRESULT CMainDlg::OnScanEnded(WPARAM listed, LPARAM job) {
    if (!m_scanJob || reinterpret_cast<LPARAM>(m_scanJob) != job)
        return 0; // a scan stopped earlier
    InterlockedExchange(&m_scanRunning, FALSE);
    if (!listed)
        return 0;
    if (m_strip.GetCount() > 0)
        m_btnSwitch.EnableWindow(TRUE);
    ShowAlbumSlider();
    return 0;
}
