#include "SetModeDlg.h"

#include "resource.h"

IMPLEMENT_DYNCREATE(CSetModeDlg, CPropertyPage)

BEGIN_MESSAGE_MAP(CSetModeDlg, CPropertyPage)
    ON_NOTIFY(UDN_DELTAPOS, IDC_SM_LIMIT_MINUTES_SPIN, OnLimitMinutesChanging)
    ON_NOTIFY(UDN_DELTAPOS, IDC_SM_INTERVAL_MINUTES_SPIN, OnIntervalMinutesChanging)
    ON_BN_CLICKED(IDC_SM_LIMIT, OnLimitClicked)
    ON_BN_CLICKED(IDC_SM_SENSITIVITY_DEFAULT, OnSensitivityDefault)
END_MESSAGE_MAP()

CSetModeDlg::CSetModeDlg() : CPropertyPage(IDD_SET_MODE) {}

CSetModeDlg::CSetModeDlg(CCaptureController* capture) : CPropertyPage(IDD_SET_MODE), m_capture(capture) {}

CSetModeDlg::~CSetModeDlg() = default;

void CSetModeDlg::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SM_LIMIT, m_chkLimit);
    DDX_Control(pDX, IDC_SM_LIMIT_MINUTES_SPIN, m_spnLimitMinutes);
    DDX_Control(pDX, IDC_SM_LIMIT_SECONDS_SPIN, m_spnLimitSeconds);
    DDX_Control(pDX, IDC_SM_INTERVAL_MINUTES_SPIN, m_spnIntervalMinutes);
    DDX_Control(pDX, IDC_SM_INTERVAL_SECONDS_SPIN, m_spnIntervalSeconds);
    DDX_Control(pDX, IDC_SM_SENSITIVITY, m_sldSensitivity);
}

void CSetModeDlg::FitSeconds(CSpinButtonCtrl& seconds, int minutes) {
    if (minutes != 0) {
        seconds.SetRange32(0, 59);
        return;
    }
    if (seconds.GetPos32() == 0)
        seconds.SetPos32(1);
    seconds.SetRange32(1, 59);
}

BOOL CSetModeDlg::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (!m_capture)
        return TRUE;
    const CaptureSettings& settings = m_capture->Settings();
    m_chkLimit.SetCheck(settings.limitCapture ? BST_CHECKED : BST_UNCHECKED);
    for (int id : {IDC_SM_LIMIT_MINUTES, IDC_SM_LIMIT_SECONDS, IDC_SM_INTERVAL_MINUTES, IDC_SM_INTERVAL_SECONDS})
        SendDlgItemMessage(id, EM_SETREADONLY, TRUE);
    m_spnLimitMinutes.SetRange32(0, 120);
    m_spnLimitMinutes.SetPos32(settings.captureTime / 60);
    m_spnLimitSeconds.SetRange32(m_spnLimitMinutes.GetPos32() != 0 ? 0 : 1, 59);
    m_spnLimitSeconds.SetPos32(settings.captureTime % 60);
    EnableLimit(settings.limitCapture != 0);
    m_spnIntervalMinutes.SetRange32(0, 60);
    m_spnIntervalMinutes.SetPos32(settings.intervalTime / 60);
    m_spnIntervalSeconds.SetRange32(m_spnIntervalMinutes.GetPos32() != 0 ? 0 : 1, 59);
    m_spnIntervalSeconds.SetPos32(settings.intervalTime % 60);
    m_sldSensitivity.SetRange(0, 100, TRUE);
    m_sldSensitivity.SetPos(settings.motionSensitivity);
    return TRUE;
}

// Sent before the change, which is always allowed.
void CSetModeDlg::OnLimitMinutesChanging(NMHDR* header, LRESULT* result) {
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    FitSeconds(m_spnLimitSeconds, change->iPos + change->iDelta);
    *result = 0;
}

void CSetModeDlg::OnIntervalMinutesChanging(NMHDR* header, LRESULT* result) {
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    FitSeconds(m_spnIntervalSeconds, change->iPos + change->iDelta);
    *result = 0;
}

void CSetModeDlg::EnableLimit(BOOL on) {
    for (int id : {IDC_SM_LIMIT_MINUTES, IDC_SM_LIMIT_SECONDS, IDC_SM_LIMIT_MINUTES_SPIN, IDC_SM_LIMIT_SECONDS_SPIN})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(on);
}

void CSetModeDlg::OnLimitClicked() { EnableLimit(m_chkLimit.GetCheck() == BST_CHECKED); }

void CSetModeDlg::OnSensitivityDefault() { m_sldSensitivity.SetPos(50); }

void CSetModeDlg::OnOK() {
    if (m_capture) {
        CaptureSettings& settings = m_capture->Settings();
        settings.captureTime = m_spnLimitMinutes.GetPos32() * 60 + m_spnLimitSeconds.GetPos32();
        settings.motionSensitivity = m_sldSensitivity.GetPos();
        settings.intervalTime = m_spnIntervalMinutes.GetPos32() * 60 + m_spnIntervalSeconds.GetPos32();
        settings.limitCapture = m_chkLimit.GetCheck() == BST_CHECKED ? 1 : 0;
    }
    CPropertyPage::OnOK();
}

void CSetModeDlg::OnCancel() { CPropertyPage::OnCancel(); }
