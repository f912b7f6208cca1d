#include "CameraButton.h"

HWND FindCameraButtonUtility() { return ::FindWindowA("KEYVANE", "KEYVANE"); }

BOOL CameraButtonUtilityMutes() {
    HWND utility = FindCameraButtonUtility();
    if (!utility)
        return FALSE;
    return ::SendMessageA(utility, WM_COMMAND, 119, reinterpret_cast<LPARAM>(::GetDlgItem(utility, 119))) == 1;
}
