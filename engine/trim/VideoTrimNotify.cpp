// The graph's notifications to the owner window and the free-space watch of a render.
#include "VideoTrim.h"

#include <string>

#include "CaptureLimits.h"
#include "EngineCom.h"
#include "TrimLog.h"
#include "TrimWindowProc.h"
#include "WatchThread.h"

WNDPROC s_TrimSavedWindowProc = nullptr;

namespace {

bool IsEnding(long event) {
    return event == EC_COMPLETE || event == EC_USERABORT || event == EC_ERRORABORT ||
           event == EC_STREAM_CONTROL_STOPPED || event == EC_DEVICE_LOST;
}

std::string AnsiOf(const std::wstring& wide) {
    char ansi[MAX_PATH] = {0};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    return ansi;
}

} // namespace

BOOL CVideoTrim::HandleTrimNotify(HWND /*hwnd*/, UINT* message, UINT* wParam, LONG* lParam) {
    if (!m_pMediaEvent)
        return FALSE;
    long event = 0;
    LONG_PTR first = 0, second = 0;
    while (m_pMediaEvent && m_pMediaEvent->GetEvent(&event, &first, &second, 0) == S_OK) {
        m_pMediaEvent->FreeEventParams(event, first, second);
        if (event == EC_COMPLETE || event == EC_STREAM_CONTROL_STOPPED) {
            if (m_TrimState == TrimStatePreviewing) {
                StopPreview();
                *message = WM_TRIM_PREVIEWDONE;
            } else if (m_TrimState == TrimStateRendering) {
                StopProcess();
                *message = WM_TRIM_PROCESSDONE;
            } else {
                continue;
            }
            *wParam = 0;
            *lParam = 0;
            return TRUE;
        }
        if (event == EC_ERRORABORT) {
            // The graph is gone: the editor is ready again and no watch outlives the render.
            m_TrimState = TrimStateReady;
            StopWatch();
            FreeBuilderInterface();
            return FALSE;
        }
    }
    return FALSE;
}

LRESULT CALLBACK CVideoTrim::s_TrimInterWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto forward = [&](UINT what, WPARAM w, LPARAM l) {
        return s_TrimSavedWindowProc ? CallWindowProcA(s_TrimSavedWindowProc, hwnd, what, w, l)
                                     : DefWindowProcA(hwnd, what, w, l);
    };
    if (message != WM_TRIM_GRAPHNOTIFY)
        return forward(message, wParam, lParam);
    CVideoTrim* editor = reinterpret_cast<CVideoTrim*>(lParam);
    UINT translated = 0, w = 0;
    LONG l = 0;
    if (!editor || !editor->HandleTrimNotify(hwnd, &translated, &w, &l))
        return 0;
    return forward(translated, 0, 0);
}

BOOL CVideoTrim::HookWinProc(HWND hwnd, WNDPROC newProc, WNDPROC* oldProc) {
    const LONG_PTR current = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    if (!current)
        return FALSE;
    if (current == reinterpret_cast<LONG_PTR>(newProc))
        return TRUE;
    SetLastError(0);
    const LONG_PTR previous = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(newProc));
    if (!previous && GetLastError()) {
        TRIM_LOG(HRESULT_FROM_WIN32(GetLastError()));
        if (oldProc)
            *oldProc = nullptr;
        return FALSE;
    }
    if (oldProc)
        *oldProc = reinterpret_cast<WNDPROC>(previous);
    return TRUE;
}

BOOL CVideoTrim::GraphEventCallback(UINT& message, LONG& lParam) {
    if (!m_pMediaEvent)
        return FALSE;
    long event = 0;
    LONG_PTR first = 0, second = 0;
    bool ending = false;
    while (m_pMediaEvent->GetEvent(&event, &first, &second, 0) == S_OK) {
        m_pMediaEvent->FreeEventParams(event, first, second);
        if ((ending = IsEnding(event)))
            break;
    }
    if (!ending)
        return FALSE;
    if (m_TrimState == TrimStatePreviewing) {
        StopPreview();
        message = WM_TRIM_PREVIEWDONE;
        lParam = -1;
    } else if (m_TrimState == TrimStateRendering) {
        StopProcess();
        message = WM_TRIM_PROCESSDONE;
        lParam = event == EC_COMPLETE ? -1 : 0;
    }
    return TRUE;
}

// ---- free-space watch ----

BOOL CVideoTrim::SetMinFreeSpace(wchar_t* path, UINT megabytes, UINT intervalMs) {
    const auto hasFreeSpace = [this, path](ULONGLONG bytes) { return xCheckFreeSpace(path, bytes) != FALSE; };
    return qelrec::ArmFreeSpaceWatch(m_TrimState == TrimStateRendering, megabytes, intervalMs, hasFreeSpace,
                                     m_nMinFreeSpace, m_nPollingInterval);
}

BOOL CVideoTrim::xCheckFreeSpace(const wchar_t* path, ULONGLONG minimum) {
    if (!path)
        return FALSE;
    const std::wstring directory(path);
    const size_t slash = directory.rfind(L'\\');
    if (slash == std::wstring::npos)
        return FALSE;
    ULARGE_INTEGER available = {};
    if (!GetDiskFreeSpaceExA(AnsiOf(directory.substr(0, slash + 1)).c_str(), &available, nullptr, nullptr))
        return FALSE;
    return qelrec::IsFreeSpaceEnough(available.QuadPart, minimum);
}

BOOL CVideoTrim::xOnReachFreeSpace() {
    if (m_TrimState != TrimStateRendering)
        return FALSE;
    StopProcess();
    return TRUE;
}

DWORD WINAPI CVideoTrim::xPollingFreeSizeThread(LPVOID object) {
    CVideoTrim* self = static_cast<CVideoTrim*>(object);
    if (!self || self->m_nPollingInterval == 0)
        return 1;
    const HANDLE stop = self->m_hWatchStop;
    const UINT interval = self->m_nPollingInterval;
    for (;;) {
        if (!self->xCheckFreeSpace(self->m_szMergeFileName, self->m_nMinFreeSpace)) {
            // After this the thread touches the editor no more: the owner's handler may stop the
            // render or delete the editor, neither of which can then wait for this thread.
            InterlockedExchange(&self->m_lWatchNotifying, 1);
            SendMessageA(self->m_hNotifyWnd, WM_TRIM_LOWDISK, static_cast<WPARAM>(static_cast<DWORD>(self->m_nMinFreeSpace)),
                         reinterpret_cast<LPARAM>(self));
            return 0;
        }
        if (WaitForSingleObject(stop, interval) == WAIT_OBJECT_0 || self->m_TrimState != TrimStateRendering)
            return 0;
    }
}

BOOL CVideoTrim::StartWatch() {
    const HRESULT hr = StartWatchThread(&CVideoTrim::xPollingFreeSizeThread, this, m_hWatchThread, m_hWatchStop,
                                        m_lWatchNotifying);
    if (FAILED(hr))
        TRIM_LOG(hr);
    return SUCCEEDED(hr);
}

void CVideoTrim::StopWatch() {
    EndWatchThread(m_hWatchThread, m_hWatchStop, m_lWatchNotifying);
}
