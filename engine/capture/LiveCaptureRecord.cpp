// Recording control: the capture file, the file type, starting a capture with its status word, the
// statistics of the running capture and the stored limit.
#include "LiveCaptureInternal.h"

#include "AudioMuter.h"

#include <afxdlgs.h>
#include <commdlg.h>

#include <cstring>
#include <cwchar>

namespace {

// One for the whole process: refuses a start (of any engine object) that begins while another runs.
BOOL s_bCaptureStartBusy = FALSE;

// Status word bits of a capture start.
constexpr UINT kStatusFileNameRefused = 0x10;
constexpr UINT kStatusNotBuiltOrRun = 0x8000;

} // namespace

void StopEveryFilter(IGraphBuilder* graph) {
    qel::ComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(filters.GetAddressOf())))
        return;
    qel::ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        filter->Stop();
}

BOOL CLiveCapture::SetCaptureFileName(const WCHAR* path) {
    if (!path) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    if (wcslen(path) >= NAME_CHARS || m_state == LIVE_CAPTURING) {
        SetLastError(m_state == LIVE_CAPTURING ? ERROR_BUSY : ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    char ansi[NAME_CHARS] = {0};
    WideCharToMultiByte(CP_ACP, 0, path, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    // Created (an existing file emptied) at once: the capture overwrites this file.
    HANDLE file = CreateFileA(ansi, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE; // CreateFileA's reason stays the last error
    CloseHandle(file);
    wcsncpy(m_wszCaptureFile, path, NAME_CHARS - 1);
    m_wszCaptureFile[NAME_CHARS - 1] = L'\0';
    return TRUE;
}

BOOL CLiveCapture::SetRecordFileType(RecordFileType type) {
    m_recordFileType = type;
    return TRUE;
}

BOOL CLiveCapture::SetCaptureLimit(CaptureLimit kind, LONGLONG value) {
    m_captureLimitKind = kind;
    m_llCaptureLimit = value;
    return TRUE;
}

BOOL CLiveCapture::SetProfileID(unsigned long id) {
    if (id != 22 && id != 23)
        return FALSE;
    m_nProfileID = id;
    return TRUE;
}

BOOL CLiveCapture::MySetCaptureFile(HWND owner) {
    char name[NAME_CHARS];
    for (;;) {
        ZeroMemory(name, sizeof name);
        OPENFILENAMEA dialog;
        ZeroMemory(&dialog, sizeof dialog);
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A; // the first, shorter layout of the structure
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = "AVI File (*.avi);\0*.avi;\0\0";
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = name;
        dialog.nMaxFile = sizeof name;
        dialog.lpstrTitle = "Select Saved File Name";
        dialog.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOREADONLYRETURN | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
        if (AfxGetFileName(&dialog, TRUE) && name[0])
            break;
        // Cancel asks again; a dialog that cannot be shown at all would ask forever.
        if (CommDlgExtendedError() != 0)
            return FALSE;
    }
    if (std::strlen(name) < 256)
        std::strcat(name, ".avi");
    MultiByteToWideChar(CP_ACP, 0, name, -1, m_wszCaptureFile, NAME_CHARS);
    m_wszCaptureFile[NAME_CHARS - 1] = L'\0';
    return TRUE;
}

BOOL CLiveCapture::xBuildAudioMuterFilter() {
    if (!m_pAudioMuter) {
        if (FAILED(CoCreateInstance(kClsidAudioMuter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                    reinterpret_cast<void**>(&m_pAudioMuter)))) {
            m_pAudioMuter = nullptr;
            AfxMessageBox(kAudioMuterCreateFailedText);
            return FALSE;
        }
    }
    return m_pGraph && m_pGraph->AddFilter(m_pAudioMuter, kAudioMuterGraphName) == S_OK;
}

BOOL CLiveCapture::StartCapture(int* status) {
    m_nCaptureStatus = 0;
    if (m_state == LIVE_CAPTURING || s_bCaptureStartBusy)
        return FALSE;
    s_bCaptureStartBusy = TRUE;
    m_bLastCaptureInfoKept = FALSE;
    m_bCaptureEnded = FALSE;
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    if (m_bPreviewBuilt)
        TearDownGraph();

    xChangeReslution(0);
    BuildCaptureGraph2(m_recordFileType);
    if (status)
        *status = static_cast<int>(m_nCaptureStatus);

    auto failEnd = [&](UINT bits) {
        m_nCaptureStatus |= bits;
        xUndoRefusedStart();
        if (status)
            *status = static_cast<int>(m_nCaptureStatus);
        s_bCaptureStartBusy = FALSE;
        return FALSE;
    };
    if (!m_bCaptureBuilt)
        return failEnd(kStatusNotBuiltOrRun);

    m_hr = m_pFileSink ? m_pFileSink->SetFileName(m_wszCaptureFile, nullptr) : E_POINTER;
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return failEnd(kStatusFileNameRefused);
    }

    // The capture stream waits until the graph runs, so the file starts with the first frame.
    REFERENCE_TIME never = MAXLONGLONG;
    const bool heldBack =
        m_pBuilder->ControlStream(&PIN_CATEGORY_CAPTURE, nullptr, nullptr, &never, nullptr, 0, 0) == S_OK;

    qel::ComPtr<IMediaControl> control;
    m_hr = QueryInto(m_pGraph, IID_IMediaControl, control);
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return failEnd(kStatusNotBuiltOrRun);
    }
    auto runFailed = [&]() {
        control->Stop();
        StopEveryFilter(m_pGraph);
        LIVECAP_LOG(this, m_hr);
        return failEnd(kStatusNotBuiltOrRun);
    };
    m_hr = heldBack ? control->Run() : control->Pause();
    Sleep(30);
    if (FAILED(m_hr))
        return runFailed();

    // The statistics are read where the capture pin offers them; where the stream cannot be held
    // back they are taken just before the paused graph runs.
    if (!m_pDroppedFrames) {
        m_hr = m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter,
                                         IID_IAMDroppedFrames, reinterpret_cast<void**>(&m_pDroppedFrames));
        if (FAILED(m_hr))
            m_hr = m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter,
                                             IID_IAMDroppedFrames, reinterpret_cast<void**>(&m_pDroppedFrames));
        if (FAILED(m_hr)) {
            m_pDroppedFrames = nullptr;
            LIVECAP_LOG(this, m_hr);
        }
    }
    auto keepStartStatistics = [&]() {
        if (!m_pDroppedFrames)
            return;
        m_pDroppedFrames->GetNumDropped(&m_lStartDropped);
        m_pDroppedFrames->GetNumNotDropped(&m_lStartNotDropped);
        m_dwStartTick = GetTickCount();
    };
    if (heldBack) {
        REFERENCE_TIME end = MAXLONGLONG;
        m_pBuilder->ControlStream(&PIN_CATEGORY_CAPTURE, nullptr, nullptr, nullptr, &end, 0, 0);
        keepStartStatistics();
    } else {
        keepStartStatistics();
        m_hr = control->Run();
        if (FAILED(m_hr))
            return runFailed();
    }

    m_state = LIVE_CAPTURING;
    xStartPollingThread();
    s_bCaptureStartBusy = FALSE;
    return TRUE;
}

// A refused start gives back what it took: what stands of the record graph goes (the file sink lets
// go of the file), and the preview comes back where the host wants one. A wanted preview that cannot
// be built again is reported, so that the host does not leave a black picture unexplained.
void CLiveCapture::xUndoRefusedStart() {
    TearDownGraph();
    if (!xRestorePreview())
        m_nCaptureStatus |= LIVECAP_STATUS_PREVIEW_LOST;
}

BOOL CLiveCapture::xRestorePreview() {
    xReleaseCapEffFilters();
    xReleasePreEffFilters();
    if (!m_bWantPreview)
        return TRUE;
    return BuildPreviewGraph() && StartPreview();
}

BOOL CLiveCapture::GetCapturedVideoInfo(_CapturedVideoInfo* info) {
    if (!info)
        return FALSE;
    if (m_state != LIVE_CAPTURING && m_bLastCaptureInfoKept) {
        *info = m_lastCaptureInfo;
        return TRUE;
    }
    return xReadCaptureStatistics(info);
}

BOOL CLiveCapture::xReadCaptureStatistics(_CapturedVideoInfo* info) {
    if (!info || !m_pDroppedFrames)
        return FALSE;
    m_hr = S_OK;
    long count = 0;
    m_hr |= m_pDroppedFrames->GetNumNotDropped(&count);
    if (m_hr == S_OK) {
        info->nFramesCaptured = count - m_lStartNotDropped;
        m_hr |= m_pDroppedFrames->GetNumDropped(&count);
        if (m_hr == S_OK)
            info->nFramesDropped = count - m_lStartDropped;
    }
    long average = 0;
    info->nAverageFrameSize = m_pDroppedFrames->GetAverageFrameSize(&average) == S_OK ? average : 0;
    info->dwElapsedMs = GetTickCount() - m_dwStartTick;
    return m_hr == S_OK;
}
