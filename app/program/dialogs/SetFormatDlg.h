#pragma once
// The settings sheet's Format page: the output size, the picture and video file types and qualities.
// Everything is kept by OK; a new output size reaches the engine and the main dialog's label.
#include <afxcmn.h>
#include <afxdlgs.h>

#include "CaptureController.h"

class CSetFormatDlg : public CPropertyPage {
    DECLARE_DYNCREATE(CSetFormatDlg)
public:
    CSetFormatDlg();
    explicit CSetFormatDlg(CCaptureController* capture);
    ~CSetFormatDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnImageDefault();
    afx_msg void OnVideoDefault();
    afx_msg void OnImageTypeChanged();
    afx_msg void OnVideoTypeChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ApplySize();

    CCaptureController* m_capture = nullptr; // not owned
    CComboBox m_cboSize, m_cboImageType, m_cboVideoType;
    CSliderCtrl m_sldImageQuality, m_sldVideoQuality;
};
