#include "SetFormatDlg.h"

#include <cstdio>

#include "ComboPrefix.h"
#include "ProgramGlobals.h"
#include "resource.h"

namespace {

constexpr int kBmp = 0;
constexpr int kWmv = 2;

} // namespace

IMPLEMENT_DYNCREATE(CSetFormatDlg, CPropertyPage)

BEGIN_MESSAGE_MAP(CSetFormatDlg, CPropertyPage)
    ON_BN_CLICKED(IDC_SF_IMAGE_DEFAULT, OnImageDefault)
    ON_BN_CLICKED(IDC_SF_VIDEO_DEFAULT, OnVideoDefault)
    ON_CBN_SELCHANGE(IDC_SF_IMAGE_TYPE, OnImageTypeChanged)
    ON_CBN_SELCHANGE(IDC_SF_VIDEO_TYPE, OnVideoTypeChanged)
END_MESSAGE_MAP()

CSetFormatDlg::CSetFormatDlg() : CPropertyPage(IDD_SET_FORMAT) {}

CSetFormatDlg::CSetFormatDlg(CCaptureController* capture) : CPropertyPage(IDD_SET_FORMAT), m_capture(capture) {}

CSetFormatDlg::~CSetFormatDlg() = default;

void CSetFormatDlg::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SF_SIZE, m_cboSize);
    DDX_Control(pDX, IDC_SF_IMAGE_TYPE, m_cboImageType);
    DDX_Control(pDX, IDC_SF_VIDEO_TYPE, m_cboVideoType);
    DDX_Control(pDX, IDC_SF_IMAGE_QUALITY, m_sldImageQuality);
    DDX_Control(pDX, IDC_SF_VIDEO_QUALITY, m_sldVideoQuality);
}

BOOL CSetFormatDlg::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (!m_capture)
        return TRUE;
    const CaptureSettings& settings = m_capture->Settings();
    char text[32];
    for (INT_PTR i = 0; i < g_captureSizes.GetSize(); ++i) {
        const DWORD size = g_captureSizes.GetAt(i);
        std::snprintf(text, sizeof text, "%dx%d", LOWORD(size), HIWORD(size));
        m_cboSize.AddString(text);
    }
    m_sldImageQuality.SetRange(1, 100, TRUE);
    m_cboImageType.ResetContent();
    m_cboImageType.AddString("BMP");
    m_cboImageType.AddString("JPG");
    m_cboVideoType.ResetContent();
    m_cboVideoType.AddString("AVI");
    m_cboVideoType.AddString("ASF");
    m_cboVideoType.AddString("WMV");
    std::snprintf(text, sizeof text, "%dx%d", settings.outputWidth, settings.outputHeight);
    m_cboSize.SetCurSel(FindPrefixFromSecond(m_cboSize, text));
    // A type the list does not offer (PNG, TIF, GIF) selects nothing and is kept by OK.
    m_cboImageType.SetCurSel(settings.imageFileType);
    m_sldImageQuality.SetPos(settings.imageQuality);
    m_sldVideoQuality.SetRange(1, 3, TRUE);
    m_cboVideoType.SetCurSel(settings.videoFileType);
    m_sldVideoQuality.SetPos(settings.videoQuality);
    OnImageTypeChanged();
    OnVideoTypeChanged();
    return TRUE;
}

void CSetFormatDlg::OnImageTypeChanged() {
    const BOOL on = m_cboImageType.GetCurSel() != kBmp;
    for (int id : {IDC_SF_IMAGE_QUALITY, IDC_SF_IMAGE_DEFAULT, IDC_SF_IMAGE_QUALITY_LABEL, IDC_SF_IMAGE_LOW,
                   IDC_SF_IMAGE_HIGH})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(on);
}

void CSetFormatDlg::OnVideoTypeChanged() {
    const BOOL on = m_cboVideoType.GetCurSel() == kWmv;
    for (int id : {IDC_SF_VIDEO_QUALITY, IDC_SF_VIDEO_DEFAULT, IDC_SF_VIDEO_QUALITY_LABEL, IDC_SF_VIDEO_LOW,
                   IDC_SF_VIDEO_HIGH})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(on);
}

void CSetFormatDlg::OnImageDefault() { m_sldImageQuality.SetPos(50); }

void CSetFormatDlg::OnVideoDefault() { m_sldVideoQuality.SetPos(2); }

// Only a size the camera offers is applied, and only when it differs.
void CSetFormatDlg::ApplySize() {
    const int selected = m_cboSize.GetCurSel();
    if (selected < 0)
        return;
    CString text;
    m_cboSize.GetLBText(selected, text);
    int width = 0, height = 0;
    if (std::sscanf(text, "%dx%d", &width, &height) != 2)
        return;
    const CaptureSettings& settings = m_capture->Settings();
    if (width == settings.outputWidth && height == settings.outputHeight)
        return;
    bool offered = false;
    for (INT_PTR i = 0; i < g_captureSizes.GetSize(); ++i)
        offered = offered || g_captureSizes.GetAt(i) == static_cast<DWORD>(MAKELONG(width, height));
    if (!offered)
        return;
    m_capture->SetCaptureSize(width, height);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_RESOLUTION_TEXT, reinterpret_cast<WPARAM>(static_cast<const char*>(text)), 0);
}

void CSetFormatDlg::OnOK() {
    if (m_capture) {
        ApplySize();
        CaptureSettings& settings = m_capture->Settings();
        const int imageType = m_cboImageType.GetCurSel();
        if (imageType >= 0)
            settings.imageFileType = imageType;
        settings.imageQuality = m_sldImageQuality.GetPos();
        const int videoType = m_cboVideoType.GetCurSel();
        m_capture->ChooseRecordFormat(videoType >= 0 ? videoType : settings.videoFileType);
        settings.videoQuality = m_sldVideoQuality.GetPos();
    }
    CPropertyPage::OnOK();
}

void CSetFormatDlg::OnCancel() { CPropertyPage::OnCancel(); }
