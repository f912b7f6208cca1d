#pragma once
// The settings sheet's Mode page: the recording time limit, the motion sensitivity and the interval
// of interval capture, kept by OK. The spins never let a time be 0:00.
#include <afxcmn.h>
#include <afxdlgs.h>

#include "CaptureController.h"

class CSetModeDlg : public CPropertyPage {
    DECLARE_DYNCREATE(CSetModeDlg)
public:
    CSetModeDlg();
    explicit CSetModeDlg(CCaptureController* capture);
    ~CSetModeDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnLimitMinutesChanging(NMHDR* header, LRESULT* result);
    afx_msg void OnIntervalMinutesChanging(NMHDR* header, LRESULT* result);
    afx_msg void OnLimitClicked();
    afx_msg void OnSensitivityDefault();
    DECLARE_MESSAGE_MAP()

private:
    // Seconds 0..59 beside nonzero minutes; at 0 minutes 1..59, a 0 moved to 1.
    static void FitSeconds(CSpinButtonCtrl& seconds, int minutes);
    void EnableLimit(BOOL on);

    CCaptureController* m_capture = nullptr; // not owned
    CButton m_chkLimit;
    CSpinButtonCtrl m_spnLimitMinutes, m_spnLimitSeconds, m_spnIntervalMinutes, m_spnIntervalSeconds;
    CSliderCtrl m_sldSensitivity;
};
