#include "EnhanceDlg.h"

#include "ProgramGlobals.h"
#include "resource.h"

namespace {

const int kRadioIds[kAutoKinds] = {IDC_EN_AUTO_ENHANCE, IDC_EN_AUTO_TONE, IDC_EN_LOW_LIGHT, IDC_EN_CLEAR_TEXT};
const int kLevelIds[kAutoKinds] = {IDC_EN_ENHANCE_LEVEL, IDC_EN_TONE_LEVEL, IDC_EN_LOW_LIGHT_LEVEL,
                                   IDC_EN_CLEAR_TEXT_LEVEL};

// Wine's trackbar keeps its thumb where it was when a new range leaves the position number unchanged:
// a move away and back places it.
void PlaceSlider(CSliderCtrl& slider, int low, int high, int pos) {
    slider.SetRange(low, high, TRUE);
    slider.SetPos(pos == low ? high : low);
    slider.SetPos(pos);
}

} // namespace

BEGIN_MESSAGE_MAP(CEnhanceDlg, CDialog)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_EN_AUTO, OnAutoClicked)
    ON_BN_CLICKED(IDC_EN_MANUAL, OnManualClicked)
    ON_BN_CLICKED(IDC_EN_ZOOM, OnZoomClicked)
    ON_COMMAND_RANGE(IDC_EN_AUTO_ENHANCE, IDC_EN_CLEAR_TEXT, OnAutoRadioClicked)
    ON_MESSAGE(WM_ZENTRIK_EXTERNAL_KEY, OnZoomStepped)
END_MESSAGE_MAP()

CEnhanceDlg::CEnhanceDlg(CWnd* parent) : CDialog(IDD_ENHANCE, parent) {}

CEnhanceDlg::~CEnhanceDlg() = default;

void CEnhanceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EN_AUTO, m_chkAuto);
    DDX_Control(pDX, IDC_EN_MANUAL, m_chkManual);
    DDX_Control(pDX, IDC_EN_ZOOM, m_chkZoom);
    for (int k = 0; k < kAutoKinds; ++k) {
        DDX_Control(pDX, kRadioIds[k], m_radio[k]);
        DDX_Control(pDX, kLevelIds[k], m_sldLevel[k]);
    }
    DDX_Control(pDX, IDC_EN_BRIGHTNESS, m_sldBrightness);
    DDX_Control(pDX, IDC_EN_CONTRAST, m_sldContrast);
    DDX_Control(pDX, IDC_EN_ZOOM_STEP, m_sldZoom);
    DDX_Control(pDX, IDC_EN_BRIGHTNESS_LABEL, m_stBrightness);
    DDX_Control(pDX, IDC_EN_CONTRAST_LABEL, m_stContrast);
}

BOOL CEnhanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    PlaceSlider(m_sldZoom, 0, 4, m_record.zoomStep);
    for (int k = 0; k < kAutoKinds; ++k)
        PlaceSlider(m_sldLevel[k], 0, 100, m_record.level[k]);
    PlaceSlider(m_sldBrightness, -100, 100, m_record.brightness);
    PlaceSlider(m_sldContrast, -100, 100, m_record.contrast);
    m_chkAuto.SetCheck(m_record.autoOn ? BST_CHECKED : BST_UNCHECKED);
    RefreshRadios();
    m_chkManual.SetCheck(m_record.manualOn ? BST_CHECKED : BST_UNCHECKED);
    m_chkZoom.SetCheck(m_record.zoomOn ? BST_CHECKED : BST_UNCHECKED);
    ApplyEnablingRule();
    return TRUE;
}

void CEnhanceDlg::SetAuto(int k, int on, int level) {
    if (!m_capture)
        return;
    switch (k) {
    case 0: m_capture->SetEnhance(on, level); break;
    case 1: m_capture->SetTone(on, level); break;
    case 2: m_capture->SetLowLight(on, level); break;
    default: m_capture->SetWhiteBoard(on, level); break;
    }
}

void CEnhanceDlg::SetManual(int on) {
    if (!m_capture)
        return;
    if (on)
        m_capture->SetContrastBrightness(1, m_sldBrightness.GetPos(), m_sldContrast.GetPos());
    else
        m_capture->SetContrastBrightness(0, 0, 0);
}

void CEnhanceDlg::SwitchAutoOff() {
    m_record.autoOn = 0;
    for (int k = 0; k < kAutoKinds; ++k)
        m_record.chosen[k] = 0;
    for (int k = 0; k < kAutoKinds; ++k)
        SetAuto(k, 0, 0);
}

// The boxes do not toggle themselves: their state before the click tells which way to go.
void CEnhanceDlg::OnAutoClicked() {
    if (m_chkAuto.GetCheck() == BST_CHECKED) {
        m_chkAuto.SetCheck(BST_UNCHECKED);
        SwitchAutoOff();
    } else {
        m_chkAuto.SetCheck(BST_CHECKED);
        m_chkManual.SetCheck(BST_UNCHECKED);
        m_record.autoOn = 1;
        m_record.chosen[0] = 1;
        for (int k = 1; k < kAutoKinds; ++k)
            m_record.chosen[k] = 0;
        m_record.manualOn = 0;
        SetManual(0);
        SetAuto(0, 1, m_sldLevel[0].GetPos());
    }
    RefreshRadios();
    ApplyEnablingRule();
}

void CEnhanceDlg::OnManualClicked() {
    if (m_chkManual.GetCheck() == BST_CHECKED) {
        m_chkManual.SetCheck(BST_UNCHECKED);
        m_record.manualOn = 0;
        SetManual(0);
    } else {
        m_chkManual.SetCheck(BST_CHECKED);
        m_chkAuto.SetCheck(BST_UNCHECKED);
        SwitchAutoOff();
        m_record.manualOn = 1;
        SetManual(1);
    }
    RefreshRadios();
    ApplyEnablingRule();
}

void CEnhanceDlg::OnZoomClicked() {
    if (m_chkZoom.GetCheck() == BST_CHECKED) {
        m_record.zoomOn = 1;
        if (m_capture)
            m_capture->SetDigitalZoom(1, m_sldZoom.GetPos());
    } else {
        m_record.zoomOn = 0;
        m_sldZoom.SetPos(0);
        if (m_capture)
            m_capture->SetDigitalZoom(0, 0);
    }
    ApplyEnablingRule();
}

void CEnhanceDlg::OnAutoRadioClicked(UINT id) {
    const int picked = static_cast<int>(id) - IDC_EN_AUTO_ENHANCE;
    // A click on the radio already chosen leaves it checked and changes nothing.
    if (picked < 0 || picked >= kAutoKinds || m_radio[picked].GetCheck() != BST_CHECKED ||
        m_record.chosen[picked])
        return;
    for (int k = 0; k < kAutoKinds; ++k)
        m_record.chosen[k] = k == picked ? 1 : 0;
    SetAuto(picked, 1, m_sldLevel[picked].GetPos());
    for (int k = 0; k < kAutoKinds; ++k)
        if (k != picked)
            SetAuto(k, 0, 0);
    ApplyEnablingRule();
}

void CEnhanceDlg::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    CDialog::OnHScroll(code, position, scrollBar);
    if (!scrollBar || !m_capture)
        return;
    // The working record follows the drag: Cancel compares it with the kept one to put the picture back.
    const int id = scrollBar->GetDlgCtrlID();
    for (int k = 0; k < kAutoKinds; ++k)
        if (id == kLevelIds[k]) {
            m_record.level[k] = m_sldLevel[k].GetPos();
            SetAuto(k, 1, m_record.level[k]);
        }
    if (id == IDC_EN_BRIGHTNESS || id == IDC_EN_CONTRAST) {
        m_record.brightness = m_sldBrightness.GetPos();
        m_record.contrast = m_sldContrast.GetPos();
        m_capture->SetContrastBrightness(1, m_record.brightness, m_record.contrast);
    } else if (id == IDC_EN_ZOOM_STEP) {
        m_record.zoomStep = m_sldZoom.GetPos();
        m_capture->SetDigitalZoom(1, m_record.zoomStep);
    }
}

// The camera-button utility stepped the zoom behind the dialog's back: show what the engine has now.
LRESULT CEnhanceDlg::OnZoomStepped(WPARAM, LPARAM) {
    if (!m_capture)
        return 0;
    const int on = m_capture->GetDigitalZoomOn();
    m_chkZoom.SetCheck(on ? BST_CHECKED : BST_UNCHECKED);
    m_sldZoom.SetPos(on ? m_capture->GetDigitalZoomLevel() : 0);
    return 0;
}

void CEnhanceDlg::OnOK() {
    m_record.zoomStep = m_sldZoom.GetPos();
    for (int k = 0; k < kAutoKinds; ++k)
        m_record.level[k] = m_sldLevel[k].GetPos();
    m_record.brightness = m_sldBrightness.GetPos();
    m_record.contrast = m_sldContrast.GetPos();
    EndDialog(IDOK);
}

void CEnhanceDlg::RefreshRadios() {
    for (int k = 0; k < kAutoKinds; ++k)
        m_radio[k].SetCheck(m_record.chosen[k] ? BST_CHECKED : BST_UNCHECKED);
}

void CEnhanceDlg::ApplyEnablingRule() {
    const BOOL autoOn = m_record.autoOn != 0;
    for (int k = 0; k < kAutoKinds; ++k) {
        m_radio[k].EnableWindow(autoOn);
        m_sldLevel[k].EnableWindow(autoOn && m_record.chosen[k]);
    }
    const BOOL manualOn = m_record.manualOn != 0;
    m_stBrightness.EnableWindow(manualOn);
    m_sldBrightness.EnableWindow(manualOn);
    m_stContrast.EnableWindow(manualOn);
    m_sldContrast.EnableWindow(manualOn);
    m_sldZoom.EnableWindow(m_record.zoomOn != 0);
    m_chkZoom.SetCheck(m_record.zoomOn ? BST_CHECKED : BST_UNCHECKED);
}
