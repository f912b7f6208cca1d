// The record build's effect step: a second instance of every enabled plug-in goes in front of the
// multiplexer, flip and rotate always, and the preview branch of the same graph gets its own again.
// The record chain runs, from the camera: flip, rotate, zoom, enhance, tone, low light, whiteboard,
// contrast/brightness, photo frame, date/time, special effect.
#include "EffectChain.h"
#include "QelFilterParams.h"

namespace {

void SendRotateExtras(IBaseFilter* plugin, UINT method, DWORD background) {
    const qel::ComPtr<IQelRotateParams> rotate = QueryLayout<IQelRotateParams>(plugin, IID_IQelRotateParams);
    if (!rotate)
        return;
    rotate->SetMethod(static_cast<int>(method));
    rotate->SetBackColor(background);
}

// Makes the record instance when there is none; reports and answers false when it cannot.
bool HaveRecordInstance(IBaseFilter*& instance, QelFilter row) {
    if (instance)
        return true;
    const EffectRowInfo* info = EffectRow(row);
    if (SUCCEEDED(CreateEffectPlugin(*info->clsid, &instance)))
        return true;
    ShowEffectMessage(info->recordCreateText);
    return false;
}

} // namespace

BOOL CLiveCapture::xInsertCaptureEffects() {
    for (int i = 0; i < EFFECT_COUNT; ++i)
        m_bEffectInPreview[i] = FALSE;
    m_bFlipInPreview = FALSE;
    m_bRotateInPreview = FALSE;

    if (!HaveRecordInstance(m_pCapFlipFilter, QF_FLIP))
        return FALSE;
    ApplyCaptureQelFilter(QF_FLIP, m_pCapFlipFilter, m_nFlipBits);
    if (m_bWantPreview)
        SetFlipEnable(1, m_nFlipBits);

    if (!HaveRecordInstance(m_pCapRotateFilter, QF_ROTATE))
        return FALSE;
    ApplyCaptureQelFilter(QF_ROTATE, m_pCapRotateFilter, static_cast<int>(m_nRotateDegree));
    SendRotateExtras(m_pCapRotateFilter, m_nRotateMethod, m_dwRotateBgColor);
    if (m_bWantPreview)
        SetRotateEnable(1, m_nRotateDegree, m_nRotateMethod, m_dwRotateBgColor);

    struct ValueRow {
        QelFilter row;
        int slot;
    };
    static const ValueRow rows[] = {
        {QF_DIGITALZOOM, EFFECT_ZOOM}, {QF_ENHANCE, EFFECT_ENHANCE},     {QF_TONE, EFFECT_TONE},
        {QF_LOWLIGHT, EFFECT_LOWLIGHT}, {QF_WHITEBOARD, EFFECT_WHITEBOARD}, {QF_CB, EFFECT_CB},
        {QF_PHOTOFRAME, EFFECT_PHOTOFRAME}, {QF_DATETIME, EFFECT_DATETIME},
    };
    for (const ValueRow& entry : rows) {
        if (!m_bEffectOn[entry.slot])
            continue;
        if (!HaveRecordInstance(m_pCapEffect[entry.slot], entry.row))
            return FALSE;
        int value = 0;
        switch (entry.row) {
        case QF_DIGITALZOOM: value = m_nZoomIndex; break;
        case QF_ENHANCE: value = m_nEnhanceLevel; break;
        case QF_TONE: value = m_nToneLevel; break;
        case QF_LOWLIGHT: value = m_nLowLightLevel; break;
        case QF_WHITEBOARD: value = m_nWhiteBoardLevel; break;
        case QF_CB: value = m_nBrightness; break;
        case QF_DATETIME: value = m_nDateTimePadding; break;
        default: value = 0; break;
        }
        ApplyCaptureQelFilter(entry.row, m_pCapEffect[entry.slot], value);
        if (!m_bWantPreview)
            continue;
        switch (entry.row) {
        case QF_DIGITALZOOM: SetDigitalZoomEnable(1, m_nZoomIndex); break;
        case QF_ENHANCE: SetEnhanceEnable(1, m_nEnhanceLevel); break;
        case QF_TONE: SetToneEnable(1, m_nToneLevel); break;
        case QF_LOWLIGHT: SetLowLightEnable(1, m_nLowLightLevel); break;
        case QF_WHITEBOARD: SetWhiteBoardEnable(1, m_nWhiteBoardLevel); break;
        case QF_CB: SetCBEnable(1, m_nBrightness, m_nContrast); break;
        case QF_PHOTOFRAME: SetPhotoFrameEnable(1, m_wszPhotoFrame); break;
        case QF_DATETIME: SetDateTimeEnable(1, m_nDateTimePadding); break;
        default: break;
        }
    }

    if (!m_bEffectOn[EFFECT_SPECIAL])
        return TRUE;
    if (!HaveRecordInstance(m_pCapEffect[EFFECT_SPECIAL], QF_BLACKWHITE))
        return FALSE;
    // The shared instance joins the record branch once; a further selected effect only selects
    // itself on it, so the last one shows, as in the preview.
    bool spliced = false;
    for (int special = 0; special < SPEFF_COUNT; ++special) {
        if (!m_bSpecialSelected[special])
            continue;
        m_bSpecialSelected[special] = FALSE;
        const QelFilter row = SpecialRowOf(special);
        if (spliced)
            xPassEffectParams(row, m_pCapEffect[EFFECT_SPECIAL], m_nSpecialStrength[special], PASS_RECORD_SPLICE);
        else
            ApplyCaptureQelFilter(row, m_pCapEffect[EFFECT_SPECIAL], m_nSpecialStrength[special]);
        spliced = true;
        if (m_bWantPreview)
            xSetSpecialEffect(row, 1, m_nSpecialStrength[special]);
    }
    return TRUE;
}
