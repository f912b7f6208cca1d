#include "camera_peer_process.h"

#include <cstring>

namespace cameratest {
namespace {

const DWORD kStartTimeoutMs = 20000;
const DWORD kQuitTimeoutMs = 10000;

std::wstring BesideThisProgram(const char* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.rfind(L'\\') + 1);
    return folder + std::wstring(file, file + strlen(file));
}

}  // namespace

CameraPeer::CameraPeer() {
    // One block per peer: a name no other test process or peer of this one uses.
    static LONG made = 0;
    const std::wstring name = L"Local\\QelCameraPeer." + std::to_wstring(GetCurrentProcessId()) + L"." +
                              std::to_wstring(InterlockedIncrement(&made));
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PeerReport), name.c_str());
    if (mapping_)
        report_ = static_cast<PeerReport*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(PeerReport)));
    blockName_ = name;
}

CameraPeer::~CameraPeer() {
    if (process_.hProcess && !Quit())
        Kill();
    Close();
    if (report_)
        UnmapViewOfFile(report_);
    if (mapping_)
        CloseHandle(mapping_);
}

HRESULT CameraPeer::Start(const std::wstring& cameraName) {
    if (!report_)
        return E_OUTOFMEMORY;
    if (process_.hProcess)
        return E_UNEXPECTED;
    const std::wstring program = BesideThisProgram(kPeerProgram);
    std::wstring commandLine = L"camera_peer.exe \"" + cameraName + L"\" " + blockName_ + L" " +
                               std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process_))
        return HRESULT_FROM_WIN32(GetLastError());
    const ULONGLONG end = GetTickCount64() + kStartTimeoutMs;
    while (report_->state == kPeerStarting) {
        if (WaitForSingleObject(process_.hProcess, 5) == WAIT_OBJECT_0 || GetTickCount64() >= end)
            break;
    }
    if (report_->state == kPeerRunning)
        return S_OK;
    return FAILED(report_->result) ? static_cast<HRESULT>(report_->result) : HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}

bool CameraPeer::Quit() {
    if (!process_.hProcess)
        return true;
    InterlockedExchange(&report_->quit, 1);
    const bool ended = WaitForSingleObject(process_.hProcess, kQuitTimeoutMs) == WAIT_OBJECT_0;
    if (ended)
        Close();
    return ended;
}

void CameraPeer::Kill() {
    if (!process_.hProcess)
        return;
    TerminateProcess(process_.hProcess, 9);
    WaitForSingleObject(process_.hProcess, kQuitTimeoutMs);
    Close();
}

void CameraPeer::Close() {
    if (process_.hProcess)
        CloseHandle(process_.hProcess);
    if (process_.hThread)
        CloseHandle(process_.hThread);
    process_ = {};
}

std::vector<PeerFrame> CameraPeer::Frames() const {
    const LONG count = report_->frames;
    return std::vector<PeerFrame>(report_->frame, report_->frame + count);
}

bool CameraPeer::WaitForFrames(size_t count, DWORD timeoutMs) const {
    return WaitFor([&](const PeerReport& report) { return static_cast<size_t>(report.frames) >= count; }, timeoutMs);
}

}  // namespace cameratest
