// Preview placement, sound, rotation and mirror, and the enhancements and effects passed to the engine.
#include "CaptureController.h"

void CCaptureController::SetPreviewArea(int left, int top, int right, int bottom) {
    if (xIsLive())
        m_engine->SetShowRect(left, top, right - left, bottom - top);
}

HRESULT CCaptureController::ShowLivePreview(BOOL on) { return m_engine ? m_engine->ShowPreview(on) : E_FAIL; }

void CCaptureController::SetAudioOn(int on) {
    if (xIsLive())
        m_engine->SetVolume(on);
}

void CCaptureController::SetRotate(UINT degree, UINT method, DWORD color) {
    if (!m_engine)
        return;
    m_settings.rotateDegree = degree;
    m_settings.rotateMethod = method;
    m_settings.rotateBgColor = color;
    m_engine->SetRotateEnable(degree != 0, degree, method, color);
}

void CCaptureController::SetFlip(int on, int bits) {
    if (m_engine)
        m_engine->SetFlipEnable(on, bits);
}

BOOL CCaptureController::IsCompatibilityFlip() { return m_engine ? m_engine->bIsCompatibilityFlip() : FALSE; }
BOOL CCaptureController::IsFlipped() { return m_engine ? m_engine->IsFliped() : FALSE; }

// Each setter reaches the engine only while there is one.
#define QEL_PASS_TO_ENGINE(call) \
    do {                         \
        if (m_engine)            \
            m_engine->call;      \
    } while (0)

void CCaptureController::SetEnhance(int on, int level) { QEL_PASS_TO_ENGINE(SetEnhanceEnable(on, level)); }
void CCaptureController::SetTone(int on, int level) { QEL_PASS_TO_ENGINE(SetToneEnable(on, level)); }
void CCaptureController::SetLowLight(int on, int level) { QEL_PASS_TO_ENGINE(SetLowLightEnable(on, level)); }
void CCaptureController::SetWhiteBoard(int on, int level) { QEL_PASS_TO_ENGINE(SetWhiteBoardEnable(on, level)); }
void CCaptureController::SetContrastBrightness(int on, int brightness, int contrast) {
    QEL_PASS_TO_ENGINE(SetCBEnable(on, brightness, contrast));
}
void CCaptureController::SetDigitalZoom(int on, int level) {
    m_digitalZoomOn = on;
    m_digitalZoomLevel = level;
    QEL_PASS_TO_ENGINE(SetDigitalZoomEnable(on, level));
}
void CCaptureController::SetPhotoFrame(int on, const WCHAR* framePath) {
    QEL_PASS_TO_ENGINE(SetPhotoFrameEnable(on, framePath ? framePath : L""));
}
void CCaptureController::SetDateTime(int on, int n) { QEL_PASS_TO_ENGINE(SetDateTimeEnable(on, n)); }
void CCaptureController::SetStampFont(LOGFONTA& font) { QEL_PASS_TO_ENGINE(SetDateTimeFont(font)); }
void CCaptureController::SetBlackWhite(int on, int strength) { QEL_PASS_TO_ENGINE(SetBlackWhiteEnable(on, strength)); }
void CCaptureController::SetSepia(int on, int strength) { QEL_PASS_TO_ENGINE(SetSepiaEnable(on, strength)); }
void CCaptureController::SetNegative(int on, int strength) { QEL_PASS_TO_ENGINE(SetNegativeEnable(on, strength)); }
void CCaptureController::SetEmboss(int on, int strength) { QEL_PASS_TO_ENGINE(SetEmbossEnable(on, strength)); }
void CCaptureController::SetSphere(int on, int strength) { QEL_PASS_TO_ENGINE(SetSphereEnable(on, strength)); }
void CCaptureController::SetSnow(int on, int strength) { QEL_PASS_TO_ENGINE(SetSnowEnable(on, strength)); }
void CCaptureController::SetMosaic(int on, int strength) { QEL_PASS_TO_ENGINE(SetMosaicEnable(on, strength)); }
void CCaptureController::SetSwirl(int on, int strength) { QEL_PASS_TO_ENGINE(SetSwirlEnable(on, strength)); }
void CCaptureController::SetSpotLight(int on, int strength) { QEL_PASS_TO_ENGINE(SetSpotLightEnable(on, strength)); }
void CCaptureController::ClearEffect() { QEL_PASS_TO_ENGINE(SetNoEffect()); }

#undef QEL_PASS_TO_ENGINE

void CCaptureController::ApplyEffect(int effectIndex, int property, const WCHAR* framePath) {
    SetPhotoFrame(effectIndex == 0, framePath);
    SetDateTime(effectIndex == 10, property);
    ApplySpecialEffect(effectIndex);
}

void CCaptureController::ApplySpecialEffect(int effectIndex) {
    switch (effectIndex) {
    case 1: SetSpotLight(1, 0); break;
    case 2: SetBlackWhite(1, 0); break;
    case 3: SetSepia(1, 50); break;
    case 4: SetNegative(1, 0); break;
    case 5: SetEmboss(1, 50); break;
    case 6: SetSphere(1, 0); break;
    case 7: SetSnow(1, 50); break;
    case 8: SetMosaic(1, 8); break;
    case 9: SetSwirl(1, 0); break;
    default: break; // none, the photo frame and the date/time overlay are switched above
    }
}
