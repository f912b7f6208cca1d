// Camera-model settings: the host's name for the camera in use and the compatibility handling of
// notebook cameras that need it.
#include "LiveCaptureInternal.h"

#include <cwchar>

namespace {
const char kR8TCameraName[] = "DREM Notebook Camera R8-T01";
const UINT kDecideByCameraModel = 0xFFFFFFFF;
} // namespace

void CLiveCapture::SetUsedVideoDeviceName(CString name) {
    m_strUsedVideoDevice = name;
}

void CLiveCapture::SetFlipCompatibility(UINT setting) {
    m_nFlipCompatibility = setting;
}

int CLiveCapture::bIsCompatibilityFlip() {
    if (m_nFlipCompatibility != kDecideByCameraModel)
        return m_nFlipCompatibility ? 1 : 0;
    return IsR8TCamera();
}

// Decided by the engine's own device list, exactly (letter case counts).
int CLiveCapture::IsR8TCamera() {
    WCHAR known[64] = {0};
    MultiByteToWideChar(CP_ACP, 0, kR8TCameraName, -1, known, 64);
    WCHAR name[130] = {0};
    if (GetDeviceName(DEVICE_VIDEO, m_nCurVideoDevice, name, 130) != 0)
        return 0;
    return wcscmp(name, known) == 0 ? 1 : 0;
}
