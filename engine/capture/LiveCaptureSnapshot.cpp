// Snapshots of the live picture: arming one for the next frame the grabber sees, and handling it on
// the user-interface thread once the grabber callback has taken the frame.
#include "LiveCaptureInternal.h"

#include <cstring>

#include "SnapshotWriter.h"
#include "snapcore/SnapshotName.h"

namespace {

// The name in the ANSI code page, as the files are written. False for a null name, one that does not
// fit the buffer or has characters the code page lacks, and one the snapshot cannot be saved under
// (shorter than its extension, or a temporary name too long).
bool SnapshotNameToAnsi(const WCHAR* fileName, char (&ansi)[CLiveCapture::NAME_CHARS]) {
    if (!fileName)
        return false;
    BOOL lossy = FALSE;
    // The UTF-8 code page takes no default character and so reports none.
    const bool utf8 = GetACP() == CP_UTF8;
    if (!WideCharToMultiByte(CP_ACP, 0, fileName, -1, ansi, sizeof ansi, nullptr, utf8 ? nullptr : &lossy) ||
        lossy)
        return false;
    SnapshotPlan plan;
    return PlanSnapshotSave(ansi, &plan);
}

} // namespace

BOOL CLiveCapture::OneSnapshot(BYTE* buffer, UINT size) {
    if (!buffer || m_bSnapPending || !m_bGrabberReady)
        return FALSE;
    if (!m_bSnapCallerBuffer)
        delete[] m_pSnapBuffer;
    m_pSnapBuffer = buffer;
    m_nSnapLength = size;
    m_bSnapCallerBuffer = TRUE;
    // The streaming thread reads the buffer and its size once it sees the pending flag.
    MemoryBarrier();
    m_bSnapPending = TRUE;
    return TRUE;
}

BOOL CLiveCapture::OneSnapshot(const WCHAR* fileName) {
    if (m_bSnapPending && m_bGrabberReady)
        return FALSE;
    char ansi[NAME_CHARS];
    if (!SnapshotNameToAnsi(fileName, ansi))
        return FALSE;
    std::memcpy(m_szSnapFile, ansi, sizeof m_szSnapFile);
    xArmFileSnapshot();
    return TRUE;
}

BOOL CLiveCapture::OneSnapshot() {
    if (m_bSnapPending && m_bGrabberReady)
        return FALSE;
    // No snapshot file was named yet.
    SnapshotPlan plan;
    if (!PlanSnapshotSave(m_szSnapFile, &plan))
        return FALSE;
    xArmFileSnapshot();
    return TRUE;
}

// A host buffer still held from an unfinished memory snapshot is dropped: it stays the host's, and
// the frame goes into the engine's own buffer.
void CLiveCapture::xArmFileSnapshot() {
    if (m_bSnapCallerBuffer) {
        m_pSnapBuffer = nullptr;
        m_nSnapLength = 0;
    }
    m_bSnapCallerBuffer = FALSE;
    MemoryBarrier();
    m_bSnapPending = TRUE;
}

// WM_LIVECAP_SNAPSHOT on the sink window. The grabber has taken the frame; until this returns the
// buffer, its length and the file name are the user-interface thread's.
LRESULT CLiveCapture::xOnSnapshotTaken(WPARAM callerBuffer) {
    if (callerBuffer) {
        xNotifyHost(WM_LIVECAP_SNAPSHOT, 1, static_cast<LPARAM>(m_nSnapLength));
        return 0;
    }
    // The frame is gone when the graph was torn down since, or a memory snapshot took the buffer's place.
    if (!m_pSnapBuffer || m_bSnapCallerBuffer)
        return 1;
    m_dwSnapshotError = 0;
    if (!SaveSnapshotFile(m_bihGrabber, m_szSnapFile, m_pSnapBuffer, m_nSnapLength, m_nImageQuality)) {
        m_dwSnapshotError = GetLastError();
        if (m_dwSnapshotError == 0)
            m_dwSnapshotError = ERROR_WRITE_FAULT;
        LIVECAP_LOG(this, HRESULT_FROM_WIN32(m_dwSnapshotError));
    }
    // The host hears of every handled snapshot, and whether its file is there.
    xNotifyHost(WM_LIVECAP_SNAPSHOT, 0,
                m_dwSnapshotError == 0 ? LIVECAP_SNAPSHOT_WRITTEN : LIVECAP_SNAPSHOT_NOT_WRITTEN);
    return 0;
}

DWORD CLiveCapture::GetSnapshotError() const { return m_dwSnapshotError; }
