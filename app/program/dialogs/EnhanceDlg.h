#pragma once
// CEnhanceDlg: the modal Enhance dialog. The user picks at most one automatic enhancement with its
// strength, a manual brightness and contrast, and a digital zoom step; every change reaches the engine
// at once through the capture controller, so the live picture follows while the dialog is open. OK
// reads the sliders back into the record; Cancel leaves the opener to put the engine back.
#include <afxcmn.h>
#include <afxwin.h>

#include "CaptureController.h"
#include "EnhanceRecord.h"

class CEnhanceDlg : public CDialog {
public:
    explicit CEnhanceDlg(CWnd* parent = nullptr);
    ~CEnhanceDlg() override;

    EnhanceRecord m_record;
    CCaptureController* m_capture = nullptr; // not owned

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnAutoClicked();
    afx_msg void OnManualClicked();
    afx_msg void OnZoomClicked();
    afx_msg void OnAutoRadioClicked(UINT id);
    afx_msg LRESULT OnZoomStepped(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void SwitchAutoOff();
    void RefreshRadios();
    void ApplyEnablingRule();
    // Calls the controller's setter of automatic enhancement k (0 Enhance .. 3 Clear Text).
    void SetAuto(int k, int on, int level);
    void SetManual(int on);

    CButton m_chkAuto, m_chkManual, m_chkZoom;
    CButton m_radio[kAutoKinds];
    CSliderCtrl m_sldLevel[kAutoKinds];
    CSliderCtrl m_sldBrightness, m_sldContrast, m_sldZoom;
    CStatic m_stBrightness, m_stContrast;
};
