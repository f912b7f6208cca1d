#include "camera_shared_block.h"

#include <objbase.h>

std::wstring CameraBlockName(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"Local\\QelTestCamera") + text;
}

std::wstring CameraWakeEventName(DWORD pid) {
    return L"Local\\QelTestCameraWake." + std::to_wstring(pid);
}

LONGLONG ProcessCreationTime(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return 0;
    LONGLONG created = 0;
    DWORD exitCode = 0;
    FILETIME creation = {}, exit = {}, kernel = {}, user = {};
    if (GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE &&
        GetProcessTimes(process, &creation, &exit, &kernel, &user))
        created = (static_cast<LONGLONG>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    CloseHandle(process);
    return created;
}

bool SlotProcessAlive(const CameraProcessSlot& slot) {
    const DWORD pid = static_cast<DWORD>(slot.pid);
    if (pid == 0)
        return false;
    const LONGLONG created = slot.created;
    return created != 0 && ProcessCreationTime(pid) == created;
}

bool SlotReclaimable(const CameraProcessSlot& slot) {
    const DWORD pid = static_cast<DWORD>(slot.pid);
    if (pid == 0)
        return true;
    const LONGLONG created = slot.created;
    return created != 0 && ProcessCreationTime(pid) != created;
}
