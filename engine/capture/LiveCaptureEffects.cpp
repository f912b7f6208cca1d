// The per-effect setters the host calls: each creates its plug-in on first use, splices it into
// the preview (or, once it is there, only sends the new values), and switches it off again. The
// kept flags and values are what a rebuilt graph re-applies.
#include "EffectChain.h"
#include "QelFilterParams.h"

#include <cwchar>

// Rows 0..7: one plug-in each.
void CLiveCapture::xSetValueEffect(QelFilter row, int on, int value) {
    const int slot = EffectSlotOf(row);
    const EffectRowInfo* info = EffectRow(row);
    if (slot < 0 || slot == EFFECT_SPECIAL || !info)
        return;
    if (!on) {
        if (m_bEffectInPreview[slot])
            SetOffPreviewFilter(row, m_pPreEffect[slot]);
        m_bEffectOn[slot] = FALSE;
        return;
    }
    if (!m_pPreEffect[slot] && FAILED(CreateEffectPlugin(*info->clsid, &m_pPreEffect[slot]))) {
        ShowEffectMessage(info->previewCreateText);
        return;
    }
    if (m_bEffectInPreview[slot])
        SetPreviewFilterPercent(row, m_pPreEffect[slot], value);
    else
        ApplyPreviewQelFilter(row, m_pPreEffect[slot], value);
    switch (row) {
    case QF_ENHANCE: m_nEnhanceLevel = value; break;
    case QF_TONE: m_nToneLevel = value; break;
    case QF_LOWLIGHT: m_nLowLightLevel = value; break;
    case QF_WHITEBOARD: m_nWhiteBoardLevel = value; break;
    case QF_DIGITALZOOM: m_nZoomIndex = value; break;
    default: break;   // the others stored theirs before the splice
    }
    // Set even when the splice failed: a later switch-on then only updates the values.
    m_bEffectInPreview[slot] = TRUE;
    m_bEffectOn[slot] = on;
}

void CLiveCapture::SetEnhanceEnable(int on, int strength) { xSetValueEffect(QF_ENHANCE, on, strength); }
void CLiveCapture::SetToneEnable(int on, int strength) { xSetValueEffect(QF_TONE, on, strength); }
void CLiveCapture::SetLowLightEnable(int on, int strength) { xSetValueEffect(QF_LOWLIGHT, on, strength); }
void CLiveCapture::SetWhiteBoardEnable(int on, int strength) { xSetValueEffect(QF_WHITEBOARD, on, strength); }

void CLiveCapture::SetCBEnable(int on, int brightness, int contrast) {
    if (on) {
        m_nBrightness = brightness;
        m_nContrast = contrast;
    }
    xSetValueEffect(QF_CB, on, brightness);
}

// The zoom table has five steps: an index beyond them is kept as the nearest step.
void CLiveCapture::SetDigitalZoomEnable(int on, int zoomIndex) {
    xSetValueEffect(QF_DIGITALZOOM, on, ClampZoomIndex(zoomIndex));
}

// The path is copied, cut to the room of the kept one; a null path is an empty one.
void CLiveCapture::SetPhotoFrameEnable(int on, const WCHAR* framePath) {
    if (on) {
        if (framePath != m_wszPhotoFrame) {
            const WCHAR* source = framePath ? framePath : L"";
            wcsncpy(m_wszPhotoFrame, source, NAME_CHARS - 1);
            m_wszPhotoFrame[NAME_CHARS - 1] = 0;
        }
    }
    xSetValueEffect(QF_PHOTOFRAME, on, 0);
}

void CLiveCapture::SetDateTimeEnable(int on, int padding) {
    if (on)
        m_nDateTimePadding = ClampDateTimePadding(padding);
    xSetValueEffect(QF_DATETIME, on, m_nDateTimePadding);
}

int CLiveCapture::GetDateTimeEnable() { return m_bEffectOn[EFFECT_DATETIME]; }

void CLiveCapture::SetDateTimeFont(LOGFONTA& font) {
    if (!m_pPreEffect[EFFECT_DATETIME] &&
        FAILED(CreateEffectPlugin(CLSID_QelFilter_DateTime, &m_pPreEffect[EFFECT_DATETIME]))) {
        ShowEffectMessage(EffectRow(QF_DATETIME)->previewCreateText);
        return;
    }
    const qel::ComPtr<IQelDateTimeParams> params = QueryLayout<IQelDateTimeParams>(m_pPreEffect[EFFECT_DATETIME]);
    if (!params)
        return;
    params->SetFont(&font);
    params->SetAlignment(kDateTimeAlignment, 0);
}

void CLiveCapture::GetDateTimeFont(LOGFONTA& font) {
    if (!m_pPreEffect[EFFECT_DATETIME])
        return;
    const qel::ComPtr<IQelDateTimeParams> params = QueryLayout<IQelDateTimeParams>(m_pPreEffect[EFFECT_DATETIME]);
    if (params)
        params->GetFont(&font);
}

// Rows 8..16: one shared special-effect plug-in showing the effect last sent to it.
void CLiveCapture::xSetSpecialEffect(QelFilter row, int on, int strength) {
    const int special = SpecialSlotOf(row);
    if (special < 0)
        return;
    IBaseFilter*& shared = m_pPreEffect[EFFECT_SPECIAL];
    if (!on) {
        if (m_bSpecialSelected[special])
            SetOffPreviewFilter(row, shared);
        m_bEffectOn[EFFECT_SPECIAL] = FALSE;
        return;
    }
    if (!shared && FAILED(CreateEffectPlugin(CLSID_QelFilter_SpecialEffect, &shared))) {
        ShowEffectMessage(EffectRow(row)->previewCreateText);
        return;
    }
    if (m_bEffectInPreview[EFFECT_SPECIAL])
        SetPreviewFilterPercent(row, shared, strength);
    else
        ApplyPreviewQelFilter(row, shared, strength);
    m_nSpecialStrength[special] = strength;
    m_bEffectInPreview[EFFECT_SPECIAL] = TRUE;
    m_bSpecialSelected[special] = TRUE;
    m_bEffectOn[EFFECT_SPECIAL] = on;
}

void CLiveCapture::SetBlackWhiteEnable(int on, int strength) { xSetSpecialEffect(QF_BLACKWHITE, on, strength); }
void CLiveCapture::SetSepiaEnable(int on, int strength) { xSetSpecialEffect(QF_SEPIA, on, strength); }
void CLiveCapture::SetNegativeEnable(int on, int strength) { xSetSpecialEffect(QF_NEGATIVE, on, strength); }
void CLiveCapture::SetEmbossEnable(int on, int strength) { xSetSpecialEffect(QF_EMBOSS, on, strength); }
void CLiveCapture::SetSphereEnable(int on, int strength) { xSetSpecialEffect(QF_SPHERE, on, strength); }
void CLiveCapture::SetSnowEnable(int on, int strength) { xSetSpecialEffect(QF_SNOW, on, strength); }
void CLiveCapture::SetMosaicEnable(int on, int strength) { xSetSpecialEffect(QF_MOSAIC, on, strength); }
void CLiveCapture::SetSwirlEnable(int on, int strength) { xSetSpecialEffect(QF_SWIRL, on, strength); }
void CLiveCapture::SetSpotLightEnable(int on, int strength) { xSetSpecialEffect(QF_SPOTLIGHT, on, strength); }

void CLiveCapture::SetNoEffect() {
    if (m_pPreEffect[EFFECT_SPECIAL])
        SetOffPreviewFilter(QF_NONE, m_pPreEffect[EFFECT_SPECIAL]);
    for (int i = 0; i < SPEFF_COUNT; ++i)
        m_bSpecialSelected[i] = FALSE;
}
