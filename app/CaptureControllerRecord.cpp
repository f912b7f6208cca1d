// Recordings, snapshots and the numbered capture names.
#include "CaptureController.h"

#include <cstring>

#include "MotionDetector.h"
#include "ProgramFolder.h"
#include "RecordRefusal.h"
#include "UserSettingsFormat.h"
#include "WideText.h"
#include "WriteProblem.h"

namespace {

// A recording needs more than this on the TempStorage disk before anything is created.
constexpr ULONGLONG kRefuseAtOrBelowBytes = 10ull * 1024 * 1024;
// The engine's own guard while recording: megabytes and polling milliseconds.
constexpr UINT kEngineMinFreeMB = 100;
constexpr UINT kEngineFreePollMs = 100;
constexpr int kStatusLowDisk = 16;

const char kLowDiskSpace[] = "Low disk space";
const char kUnknownError[] = "Unknown Error";

// The status bits of a Windows Media kind's start that the missing writer explains.
constexpr int kStatusNotBuiltOrRun = 0x8000;

// A name with a wildcard is no file's name, and a search would take it as a pattern matching others.
bool FileExists(const std::string& path) {
    if (!qelapp::NamesOneFile(path.c_str()))
        return false;
    CFileFind find;
    return find.FindFile(path.c_str()) != FALSE;
}

} // namespace

HRESULT CCaptureController::StartRecording(const char* path) {
    m_lastWriteProblem = qelapp::WriteProblem();
    if (!m_engine)
        return 1;
    // The last recording's name stays what GetCaptureInfo reports until a new one records.
    const CString lastRecording = m_captureFileName;
    const HRESULT result = xStartRecording(path);
    if (result != 0) {
        xUndoRefusedStart(path);
        m_captureFileName = lastRecording;
    }
    return result;
}

HRESULT CCaptureController::xRefuseWrite(const qelapp::WriteProblem& problem) {
    m_lastWriteProblem = problem;
    m_lastErrorText.Empty(); // the program words the problem
    return 1;
}

HRESULT CCaptureController::xStartRecording(const char* path) {
    ULONGLONG freeBytes = 0;
    if (qelapp::QueryFreeBytes(m_tempFolder, &freeBytes) && freeBytes <= kRefuseAtOrBelowBytes) {
        m_captureStatus = kStatusLowDisk;
        m_lastErrorText = kLowDiskSpace;
        return E_OUTOFMEMORY;
    }
    xCreateTempFolder();
    m_captureFileName = path ? path : "";
    const std::string file = static_cast<const char*>(m_captureFileName);
    // Seen before the engine is asked, which could only say that it cannot create the file.
    qelapp::WriteProblem problem = qelapp::WhyNotWritten(file, ERROR_SUCCESS);
    const std::string folder = qelapp::FolderOf(file);
    if (problem.kind == qelapp::WriteFailure::None && !folder.empty() &&
        qelapp::QueryFreeBytes(folder.c_str(), &freeBytes) && freeBytes <= kRefuseAtOrBelowBytes) {
        problem.kind = qelapp::WriteFailure::DiskFull;
        problem.subject = folder;
    }
    if (problem.kind != qelapp::WriteFailure::None)
        return xRefuseWrite(problem);
    // A name longer than the engine's buffer would name another file: refused whole.
    const std::wstring wide = qelapp::Widen(m_captureFileName);
    if (wide.empty())
        return xRefuseWrite(qelapp::WhyNotWritten(file, ERROR_INVALID_NAME));
    if (wide.size() >= MAX_PATH)
        return xRefuseWrite(qelapp::WhyNotWritten(file, ERROR_FILENAME_EXCED_RANGE));
    if (!m_engine->SetCaptureFileName(wide.c_str()))
        return xRefuseWrite(qelapp::WhyNotWritten(file, ::GetLastError()));
    m_recordFileCreated = TRUE;
    m_engine->SetOutputCompatibility(0);
    if (!m_engine->SetMinFreeSpace(kEngineMinFreeMB, kEngineFreePollMs)) {
        m_lastErrorText = kLowDiskSpace;
        return E_OUTOFMEMORY;
    }
    m_engine->SetOutputCompatibility(0);
    m_captureStatus = 0;
    const BOOL started = m_engine->StartCapture(&m_captureStatus);
    const bool windowsMedia = m_settings.recordKind == 1 || m_settings.recordKind == 2;
    const bool writerMissing =
        windowsMedia && (m_captureStatus & kStatusNotBuiltOrRun) && !qelapp::CanWriteWindowsMedia();
    const std::string failure = qelapp::RefusalText(m_captureStatus, writerMissing);
    if (started && failure.empty())
        return 0;
    m_lastErrorText = failure.empty() ? kUnknownError : failure.c_str();
    return 1;
}

// What a refused start leaves of the controller's own: the record file created empty, and its number.
// The engine gives back its preview itself; a start it took up but whose status the recording is
// refused for is stopped, so that nothing records unseen.
void CCaptureController::xUndoRefusedStart(const char* path) {
    if (m_engine->GetClassState() == LIVE_CAPTURING)
        m_engine->StopCapture();
    if (m_recordFileCreated && !m_captureFileName.IsEmpty())
        ::DeleteFileA(m_captureFileName);
    m_recordFileCreated = FALSE;
    if (path && !m_lastVideoName.IsEmpty() && m_lastVideoName == path)
        m_settings.videoCount = m_videoCountBeforeName;
}

CString CCaptureController::StopRecording() {
    if (m_engine) {
        m_engine->StopCapture();
        // The recorded file's facts through a player graph of their own, once per recording (a stop
        // for a full disk comes twice).
        const BOOL recorded = m_recordFileCreated;
        m_recordFileCreated = FALSE;
        m_engine->GetCapturedVideoInfo(&m_lastCaptureStats);
        if (recorded)
            m_lastRecordingInfo.Read(m_videoWindow, m_captureFileName);
    }
    m_lastSnapshotName.Empty();
    return m_captureFileName;
}

void CCaptureController::GetCaptureInfo(_AlbumItemInfo* record) const {
    if (!record)
        return;
    std::memset(record, 0, sizeof *record);
    if (m_initialized && m_engine)
        lstrcpynA(record->path, m_captureFileName, MAX_PATH);
}

CString CCaptureController::TakeSnapshot(const char* path) {
    m_lastSnapshotName = path ? path : "";
    if (xIsLive())
        m_engine->OneSnapshot(qelapp::Widen(m_lastSnapshotName).c_str());
    return m_lastSnapshotName;
}

DWORD CCaptureController::GetSnapshotError() const { return m_engine ? m_engine->GetSnapshotError() : 0; }

BOOL CCaptureController::SnapshotToMemory(BYTE* buffer, UINT size) {
    if (!m_engine || !buffer || size == 0)
        return FALSE;
    return m_engine->OneSnapshot(buffer, size);
}

namespace {

CString NextFreeName(const CString& folder, const CString& prefix, int* count, const char* extension) {
    return CString(qelapp::NextFreeCaptureName(static_cast<const char*>(folder), static_cast<const char*>(prefix),
                                               count, extension, FileExists)
                       .c_str());
}

} // namespace

CString CCaptureController::MakeVideoFileName() {
    m_videoCountBeforeName = m_settings.videoCount;
    m_lastVideoName = NextFreeName(m_settings.videoFolder, m_settings.videoName, &m_settings.videoCount,
                                   qelapp::VideoExtension(m_settings.videoFileType));
    return m_lastVideoName;
}

CString CCaptureController::MakeImageFileName() {
    return NextFreeName(m_settings.imageFolder, m_settings.imageName, &m_settings.imageCount,
                        qelapp::ImageExtension(m_settings.imageFileType));
}

void CCaptureController::NextVideoCount() { m_settings.videoCount = qelapp::NextCount(m_settings.videoCount); }
void CCaptureController::NextImageCount() { m_settings.imageCount = qelapp::NextCount(m_settings.imageCount); }

int CCaptureController::GetMotionRowLength() const { return MD_FrameRowLength(m_settings.outputWidth); }

UINT CCaptureController::GetMotionFrameBytes() const {
    return static_cast<UINT>(GetMotionRowLength()) * static_cast<UINT>(m_settings.outputHeight);
}
