// The parameter passes of the effect chain: what each row's plug-in is sent after a splice, on an
// update of a plug-in already in the preview, and on switch-off. The parameter interface is asked
// for anew for each pass and released after it; a plug-in that does not answer it gets nothing.
#include "EffectChain.h"
#include "OutsideFilters.h"
#include "QelFilterParams.h"

#include <afxwin.h>

namespace {

int ClampStrength(int value) {
    if (value < 0)
        return 0;
    return value > 100 ? 100 : value;
}

} // namespace

int EffectSlotOf(QelFilter row) {
    switch (row) {
    case QF_ENHANCE: return CLiveCapture::EFFECT_ENHANCE;
    case QF_TONE: return CLiveCapture::EFFECT_TONE;
    case QF_WHITEBOARD: return CLiveCapture::EFFECT_WHITEBOARD;
    case QF_LOWLIGHT: return CLiveCapture::EFFECT_LOWLIGHT;
    case QF_CB: return CLiveCapture::EFFECT_CB;
    case QF_DIGITALZOOM: return CLiveCapture::EFFECT_ZOOM;
    case QF_PHOTOFRAME: return CLiveCapture::EFFECT_PHOTOFRAME;
    case QF_DATETIME: return CLiveCapture::EFFECT_DATETIME;
    default: return (row == QF_NONE || IsSpecialEffectRow(row)) ? CLiveCapture::EFFECT_SPECIAL : -1;
    }
}

int SpecialSlotOf(QelFilter row) {
    switch (row) {
    case QF_BLACKWHITE: return CLiveCapture::SPEFF_BLACKWHITE;
    case QF_EMBOSS: return CLiveCapture::SPEFF_EMBOSS;
    case QF_SPHERE: return CLiveCapture::SPEFF_SPHERE;
    case QF_SEPIA: return CLiveCapture::SPEFF_SEPIA;
    case QF_SNOW: return CLiveCapture::SPEFF_SNOW;
    case QF_NEGATIVE: return CLiveCapture::SPEFF_NEGATIVE;
    case QF_MOSAIC: return CLiveCapture::SPEFF_MOSAIC;
    case QF_SWIRL: return CLiveCapture::SPEFF_SWIRL;
    case QF_SPOTLIGHT: return CLiveCapture::SPEFF_SPOTLIGHT;
    default: return -1;
    }
}

QelFilter SpecialRowOf(int specialSlot) {
    static const QelFilter rows[CLiveCapture::SPEFF_COUNT] = {
        QF_BLACKWHITE, QF_EMBOSS, QF_SPHERE, QF_SEPIA, QF_SNOW, QF_NEGATIVE, QF_MOSAIC, QF_SWIRL, QF_SPOTLIGHT,
    };
    return rows[specialSlot];
}

void ShowEffectMessage(const char* text) { AfxMessageBox(text, MB_OK); }

// Sends one column of the parameter table to the row's plug-in; returns what SetPreviewFilterPercent
// reports (the value, clamped for the strength rows when the plug-in took it).
int CLiveCapture::xPassEffectParams(QelFilter row, IBaseFilter* plugin, int value, int pass) {
    if (!plugin)
        return value;
    if (row == QF_FLIP) {
        if (pass == PASS_OFF)
            FlipSwitchOff(plugin);
        else
            FlipSendParams(plugin, value);
        return value;
    }
    if (row == QF_ROTATE) {
        const qel::ComPtr<IQelRotateParams> rotate = QueryLayout<IQelRotateParams>(plugin, IID_IQelRotateParams);
        if (!rotate)
            return value;
        if (pass == PASS_OFF) {
            rotate->SetEnable(FALSE);
        } else {
            rotate->SetEnable(TRUE);
            rotate->SetAngle(value);
        }
        return value;
    }

    const qel::ComPtr<IQelFilterParams> common = QueryLayout<IQelFilterParams>(plugin);
    if (!common)
        return value;
    int result = value;
    if (pass == PASS_OFF) {
        if (IsSpecialEffectRow(row)) {
            static_cast<IQelSpecialEffectParams*>(common.Get())->SetEffect(SpecialEffectIndex(row));
            common->SetEnable(FALSE);
        } else if (row == QF_NONE) {
            common->SetEnable(FALSE);
            static_cast<IQelSpecialEffectParams*>(common.Get())->SetEffect(-1);
        } else {
            common->SetEnable(FALSE);
        }
        return result;
    }

    common->SetEnable(TRUE);
    if (IsStrengthRow(row)) {
        if (pass == PASS_UPDATE)
            result = ClampStrength(value);
        static_cast<IQelStrengthParams*>(common.Get())->SetStrength(result);
    } else if (row == QF_CB) {
        auto* cb = static_cast<IQelContrastBrightnessParams*>(common.Get());
        cb->SetBrightness(m_nBrightness);
        cb->SetContrast(m_nContrast);
    } else if (row == QF_DIGITALZOOM) {
        static_cast<IQelDigitalZoomParams*>(common.Get())->SetZoom(ZoomPercent(value));
    } else if (row == QF_PHOTOFRAME) {
        static_cast<IQelPhotoFrameParams*>(common.Get())->SetFramePath(m_wszPhotoFrame);
    } else if (row == QF_DATETIME) {
        // An update re-aligns without the padding, as the font setter does.
        static_cast<IQelDateTimeParams*>(common.Get())->SetAlignment(kDateTimeAlignment,
                                                               pass == PASS_UPDATE ? 0 : m_nDateTimePadding);
    } else if (IsSpecialEffectRow(row)) {
        auto* special = static_cast<IQelSpecialEffectParams*>(common.Get());
        if (pass == PASS_RECORD_SPLICE)
            special->AddRange(-1.0, -1.0);   // open at both ends: the whole recording
        special->SetEffect(SpecialEffectIndex(row));
    }
    return result;
}

int CLiveCapture::SetPreviewFilterPercent(QelFilter row, IBaseFilter* plugin, int value) {
    return xPassEffectParams(row, plugin, value, PASS_UPDATE);
}

void CLiveCapture::SetOffPreviewFilter(QelFilter row, IBaseFilter* plugin) {
    if (!m_pGraph || !plugin)
        return;
    xPassEffectParams(row, plugin, 0, PASS_OFF);
}
