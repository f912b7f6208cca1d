// The limits of a running capture: the free space of the capture file's disk and the file's size,
// watched by a thread of the engine that tells the message-sink window when either is reached.
#include "LiveCaptureInternal.h"

#include "CaptureLimits.h"
#include "WatchThread.h"

#include <string>

namespace {

std::string AnsiOf(const WCHAR* wide) {
    char ansi[CLiveCapture::NAME_CHARS] = {0};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    return ansi;
}

// The size of the growing capture file, through a handle without access rights. Where such a
// handle cannot tell its size, the file's directory entry does. False when the file cannot be opened.
bool CaptureFileSize(const std::string& file, ULONGLONG* size) {
    HANDLE handle = CreateFileA(file.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    const DWORD low = GetFileSize(handle, &high);
    const DWORD error = low == INVALID_FILE_SIZE ? GetLastError() : NO_ERROR;
    CloseHandle(handle);
    if (error == NO_ERROR) {
        *size = static_cast<ULONGLONG>(high) << 32 | low;
        return true;
    }
    WIN32_FILE_ATTRIBUTE_DATA entry;
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &entry))
        return false;
    *size = static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
    return true;
}

} // namespace

const WCHAR* CLiveCapture::GetCaptureFileName() const {
    return m_wszCaptureFile;
}

ULONGLONG CLiveCapture::GetMinFreeSpace() const {
    return m_ullMinFreeSpace;
}

UINT CLiveCapture::GetSpacePollingInterval() const {
    return m_nSpacePollingInterval;
}

BOOL CLiveCapture::SetMinFreeSpace(UINT megabytes, UINT intervalMs) {
    const auto hasFreeSpace = [this](ULONGLONG bytes) { return CheckFreeSpace(m_wszCaptureFile, bytes) != FALSE; };
    return qelrec::ArmFreeSpaceWatch(m_state == LIVE_CAPTURING, megabytes, intervalMs, hasFreeSpace,
                                     m_ullMinFreeSpace, m_nSpacePollingInterval);
}

BOOL CLiveCapture::CheckFreeSpace(const WCHAR* path, ULONGLONG bytes) {
    // A bare file name lies in the current directory, which a null directory measures.
    const std::wstring directory = qelrec::CaptureDirectoryOf(path ? path : L"");
    const std::string ansi = AnsiOf(directory.c_str());
    ULARGE_INTEGER available = {};
    if (!GetDiskFreeSpaceExA(ansi.empty() ? nullptr : ansi.c_str(), &available, nullptr, nullptr)) {
        LIVECAP_LOG(this, static_cast<HRESULT>(GetLastError()));
        return FALSE;
    }
    return qelrec::IsFreeSpaceEnough(available.QuadPart, bytes);
}

DWORD WINAPI CLiveCapture::s_PollingFreeSizeThread(LPVOID object) {
    CLiveCapture* self = static_cast<CLiveCapture*>(object);
    if (!self || self->m_nSpacePollingInterval == 0)
        return 1;
    const ULONGLONG minimum = self->m_ullMinFreeSpace;
    const UINT interval = self->m_nSpacePollingInterval;
    const HWND sink = self->m_hSinkWnd;
    const HANDLE stop = self->m_hPollingStop;
    const ULONGLONG sizeLimit = self->m_ullFileSizeLimit;

    // Once it notifies, the thread touches the object no more: the handler may stop the capture
    // (which then cannot wait for this thread) or delete the object.
    auto notify = [self, sink](UINT message, WPARAM wParam) {
        InterlockedExchange(&self->m_lPollerNotifying, 1);
        SendMessageA(sink, message, wParam, reinterpret_cast<LPARAM>(self));
        return 0;
    };
    for (;;) {
        if (!self->CheckFreeSpace(self->m_wszCaptureFile, minimum))
            return notify(WM_LIVECAP_LOWDISK, static_cast<WPARAM>(static_cast<DWORD>(minimum)));
        ULONGLONG size = 0;
        if (CaptureFileSize(AnsiOf(self->m_wszCaptureFile), &size) && qelrec::HasReachedFileSizeLimit(size, sizeLimit))
            break;
        if (WaitForSingleObject(stop, interval) == WAIT_OBJECT_0 || self->m_state != LIVE_CAPTURING)
            return 0;
    }
    return notify(WM_LIVECAP_FILELIMIT, 0);
}

BOOL CLiveCapture::xStartPollingThread() {
    const HRESULT hr = StartWatchThread(&CLiveCapture::s_PollingFreeSizeThread, this, m_hPollingThread,
                                        m_hPollingStop, m_lPollerNotifying);
    if (FAILED(hr))
        LIVECAP_LOG(this, hr);
    return SUCCEEDED(hr);
}

void CLiveCapture::xStopPollingThread() {
    EndWatchThread(m_hPollingThread, m_hPollingStop, m_lPollerNotifying);
}
