// Cameras that mirror their picture by themselves, the camera's snapshot button, and the small
// switches kept for the preview, the recording and snapshots. None of the camera reads shows a
// message: a camera that is not found or does not answer reads as 0.
#include "CameraDriver.h"
#include "CameraKsProperty.h"
#include "LiveCaptureInternal.h"

#include <mbstring.h>

#include <cstring>

namespace {

const char* const kKsMirrorCameras[] = {"DREM Notebook Camera R8-T01", "BisonCam, NB Pro"};
const char kVimicroCamera[] = "Vimicro USB PC Camera (VC0321)";

// Letter case does not count (multi-byte comparison of the ANSI names).
bool SameCameraName(const CString& used, const char* known) { return _mbsicmp(
        reinterpret_cast<const unsigned char*>(static_cast<const char*>(used)),
        reinterpret_cast<const unsigned char*>(known)) == 0; }

// The mirror state through the kernel-streaming property; 0 when the camera cannot be read.
int ReadKsMirrorState() {
    CCameraKsProperty property;
    int mirrored = 0;
    if (property.Open()) {
        BYTE value[kCameraPropertyValueBytes] = {0};
        if (property.GetProperty(kCameraMirrorPropertyId, value)) {
            DWORD last = 0;
            std::memcpy(&last, value + kCameraPropertyValueBytes - sizeof last, sizeof last);
            mirrored = static_cast<int>(last);
        }
    }
    property.Close();
    return mirrored;
}

} // namespace

int CLiveCapture::IsFliped() {
    if (!bIsCompatibilityFlip())
        return 0;
    for (const char* known : kKsMirrorCameras)
        if (SameCameraName(m_strUsedVideoDevice, known))
            return ReadKsMirrorState();
    if (SameCameraName(m_strUsedVideoDevice, kVimicroCamera))
        return GetVimicroCameraFlipStatus();
    return 0;
}

int CLiveCapture::GetVimicroCameraFlipStatus() {
    if (!m_pVideoCapFilter)
        return 0;
    qel::ComPtr<ICameraFlipStatus> status;
    if (FAILED(m_pVideoCapFilter->QueryInterface(IID_ICameraFlipStatus, &status)))
        return 0;
    ULONG block[kCameraFlipStatusBlockSize / sizeof(ULONG)] = {0, kCameraFlipStatusRequest, 0, 0, 0};
    const HRESULT hr = status->GetFlipStatus(kCameraFlipStatusBlockSize, block);
    return FAILED(hr) ? 0 : static_cast<int>(block[2]);
}

UINT CLiveCapture::GetSnapButtonState() {
    if (!m_pCameraButton)
        return 0;
    auto* button = static_cast<ICameraButtonState*>(m_pCameraButton);
    ULONG state = 0, extra1 = 0, extra2 = 0;
    if (FAILED(button->GetButtonState(kCameraButtonSnapshot, &state, &extra1, &extra2)))
        return 0;
    return state;
}

int CLiveCapture::SetVolume(int on) {
    m_nAudioSwitch = on;
    return on;
}

void CLiveCapture::SetQuality(int which, int value) {
    if (which == 0)
        m_nVideoQuality = value;
    else
        m_nImageQuality = value;
}
