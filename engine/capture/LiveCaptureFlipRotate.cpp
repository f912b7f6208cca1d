// Flip and rotate: both plug-ins are always in the preview chain (and in every recording), so the
// kept bits, angle, method and colour, not the last on/off, decide what a rebuilt graph shows.
#include "EffectChain.h"
#include "OutsideFilters.h"
#include "QelFilterParams.h"

void CLiveCapture::SetFlipEnable(int on, int bits) {
    if (!on) {
        if (m_bFlipInPreview)
            SetOffPreviewFilter(QF_FLIP, m_pPreFlipFilter);
        m_bFlipOn = FALSE;
        m_nFlipBits = bits;
        return;
    }
    if (!m_pPreFlipFilter && FAILED(CreateFlipPlugin(&m_pPreFlipFilter))) {
        ShowEffectMessage(kFlipCreateFailedText);
        return;
    }
    if (m_bFlipInPreview)
        SetPreviewFilterPercent(QF_FLIP, m_pPreFlipFilter, bits);
    else
        ApplyPreviewQelFilter(QF_FLIP, m_pPreFlipFilter, bits);
    m_nFlipBits = bits;
    m_bFlipInPreview = TRUE;
    m_bFlipOn = on;
}

void CLiveCapture::SetRotateEnable(int on, UINT degree, UINT method, DWORD background) {
    if (m_state == LIVE_CAPTURING)
        return;
    m_dwRotateBgColor = background;
    m_nRotateDegree = degree;
    m_nRotateMethod = method;
    if (!on) {
        if (m_bRotateInPreview)
            SetOffPreviewFilter(QF_ROTATE, m_pPreRotateFilter);
        return;
    }
    if (!m_pPreRotateFilter && FAILED(CreateEffectPlugin(CLSID_QelFilter_Rotate, &m_pPreRotateFilter))) {
        ShowEffectMessage(EffectRow(QF_ROTATE)->previewCreateText);
        return;
    }
    if (m_bRotateInPreview)
        SetPreviewFilterPercent(QF_ROTATE, m_pPreRotateFilter, static_cast<int>(degree));
    else
        ApplyPreviewQelFilter(QF_ROTATE, m_pPreRotateFilter, static_cast<int>(degree));
    if (const qel::ComPtr<IQelRotateParams> rotate = QueryLayout<IQelRotateParams>(m_pPreRotateFilter, IID_IQelRotateParams)) {
        rotate->SetMethod(static_cast<int>(method));
        rotate->SetBackColor(background);
    }
    m_bRotateInPreview = TRUE;
}

UINT CLiveCapture::GetRotateDegree() { return m_nRotateDegree; }
UINT CLiveCapture::GetRotateMethod() { return m_nRotateMethod; }
DWORD CLiveCapture::GetRotateBgColor() { return m_dwRotateBgColor; }
