#include "SetBasicDlg.h"

#include <shlobj.h>

#include <cstring>
#include <string>

#include "ComboPrefix.h"
#include "ProgramGlobals.h"
#include "WideText.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kMirrorTimer = 100;
const UINT kDegrees[4] = {0, 90, 180, 270};

} // namespace

BOOL IsUnsuitableFolder(const char* path) {
    if (std::strstr(path, "\\\\"))
        return TRUE;
    char drive[_MAX_DRIVE] = {};
    _splitpath(path, drive, nullptr, nullptr, nullptr);
    const CString root = CString(drive) + "\\";
    switch (::GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
    case DRIVE_REMOTE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK: return TRUE;
    default: return FALSE;
    }
}

IMPLEMENT_DYNCREATE(CSetBasicDlg, CPropertyPage)

BEGIN_MESSAGE_MAP(CSetBasicDlg, CPropertyPage)
    ON_BN_CLICKED(IDC_SB_BROWSE_IMAGE, OnBrowseImageFolder)
    ON_BN_CLICKED(IDC_SB_BROWSE_VIDEO, OnBrowseVideoFolder)
    ON_CBN_SELCHANGE(IDC_SB_CAMERA_LIST, OnCameraPicked)
    ON_BN_CLICKED(IDC_SB_ADVANCED, OnAdvanced)
    ON_BN_CLICKED(IDC_SB_MIRROR, OnMirror)
    ON_COMMAND_RANGE(IDC_SB_ROTATE_0, IDC_SB_ROTATE_270, OnRotation)
    ON_WM_TIMER()
    ON_MESSAGE(0x78, OnIgnored)
END_MESSAGE_MAP()

CSetBasicDlg::CSetBasicDlg() : CPropertyPage(IDD_SET_BASIC) {}

CSetBasicDlg::CSetBasicDlg(CCaptureController* capture) : CPropertyPage(IDD_SET_BASIC), m_capture(capture) {}

CSetBasicDlg::~CSetBasicDlg() = default;

void CSetBasicDlg::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SB_IMAGE_FOLDER, m_edtImageFolder);
    DDX_Control(pDX, IDC_SB_VIDEO_FOLDER, m_edtVideoFolder);
    DDX_Control(pDX, IDC_SB_CAMERA_LIST, m_cboCamera);
    DDX_Control(pDX, IDC_SB_CAMERA_NAME, m_stCamera);
    DDX_Control(pDX, IDC_SB_MIRROR, m_chkMirror);
}

BOOL CSetBasicDlg::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (!m_capture)
        return TRUE;
    const CaptureSettings& settings = m_capture->Settings();
    for (POSITION at = g_cameraNames.GetHeadPosition(); at;)
        m_cboCamera.AddString(g_cameraNames.GetNext(at));
    m_edtImageFolder.SetWindowText(settings.imageFolder);
    m_edtVideoFolder.SetWindowText(settings.videoFolder);
    m_edtImageFolder.SetReadOnly(TRUE);
    m_edtVideoFolder.SetReadOnly(TRUE);
    // An empty name would begin every entry and pick the second camera, not the one in use.
    const int found =
        settings.cameraName.IsEmpty() ? -1 : FindPrefixFromSecond(m_cboCamera, settings.cameraName);
    if (found >= 0) {
        m_cboCamera.SetCurSel(found);
        m_stCamera.SetWindowText(settings.cameraName);
    } else if (m_cboCamera.GetCount() > 0) {
        m_cboCamera.SetCurSel(0);
        CString first;
        m_cboCamera.GetLBText(0, first);
        m_stCamera.SetWindowText(first);
    }
    m_chkMirror.SetCheck(settings.mirror ? BST_CHECKED : BST_UNCHECKED);
    ApplyMirrorEnabling();
    if (m_capture->IsCompatibilityFlip())
        SetTimer(kMirrorTimer, 500);
    for (int k = 0; k < 4; ++k)
        CheckDlgButton(IDC_SB_ROTATE_0 + k, settings.rotateDegree == kDegrees[k] ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSetBasicDlg::ApplyMirrorEnabling() { m_chkMirror.EnableWindow(!m_capture->IsFlipped()); }

void CSetBasicDlg::OnTimer(UINT_PTR id) {
    if (id == kMirrorTimer && m_capture)
        ApplyMirrorEnabling();
    CPropertyPage::OnTimer(id);
}

void CSetBasicDlg::BrowseInto(CEdit& edit) {
    CString current;
    edit.GetWindowText(current);
    ::SetCurrentDirectoryA(current);
    char name[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = name;
    info.lpszTitle = "";
    LPITEMIDLIST picked = ::SHBrowseForFolderA(&info);
    if (!picked)
        return;
    // Taken wide: the ANSI path has '?' for the letters the code page lacks; the folder is kept by a
    // name that reaches it (its short form), and one that has none is refused like an unsuitable one.
    wchar_t widePath[MAX_PATH] = {};
    const BOOL got = ::SHGetPathFromIDListW(picked, widePath);
    ::CoTaskMemFree(picked);
    if (!got)
        return;
    const std::string reached = qelapp::AnsiPathOf(widePath);
    const char* path = reached.c_str();
    if (reached.empty() || IsUnsuitableFolder(path)) {
        CString text;
        text.LoadString(IDS_PATH_ERROR);
        MessageBox(text, AfxGetApp()->m_pszAppName, MB_OK);
        return;
    }
    edit.SetWindowText(path);
}

void CSetBasicDlg::OnBrowseImageFolder() { BrowseInto(m_edtImageFolder); }

void CSetBasicDlg::OnBrowseVideoFolder() { BrowseInto(m_edtVideoFolder); }

// The main dialog switches the camera at once; the string lives for the send only.
void CSetBasicDlg::OnCameraPicked() {
    const int picked = m_cboCamera.GetCurSel();
    if (picked < 0)
        return;
    CString name;
    m_cboCamera.GetLBText(picked, name);
    m_stCamera.SetWindowText(name);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_CAMERA_CHOSEN, reinterpret_cast<WPARAM>(&name), 0);
}

void CSetBasicDlg::OnAdvanced() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_VIDEO_SETTINGS, 0, 0);
}

void CSetBasicDlg::OnMirror() {
    if (!m_capture)
        return;
    const BOOL checked = m_chkMirror.GetCheck() == BST_CHECKED;
    m_capture->Settings().mirror = checked ? 1 : 0;
    if (checked && !(m_capture->IsCompatibilityFlip() && m_capture->IsFlipped()))
        m_capture->SetFlip(1, 1);
    else
        m_capture->SetFlip(0, 0);
}

void CSetBasicDlg::OnRotation(UINT id) {
    if (!m_capture || id < IDC_SB_ROTATE_0 || id > IDC_SB_ROTATE_270)
        return;
    const CaptureSettings& settings = m_capture->Settings();
    m_capture->SetRotate(kDegrees[id - IDC_SB_ROTATE_0], settings.rotateMethod, settings.rotateBgColor);
}

LRESULT CSetBasicDlg::OnIgnored(WPARAM, LPARAM) { return 0; }

void CSetBasicDlg::OnOK() {
    KillTimer(kMirrorTimer);
    if (m_capture) {
        CaptureSettings& settings = m_capture->Settings();
        CString folder, camera;
        m_edtImageFolder.GetWindowText(folder);
        m_stCamera.GetWindowText(camera);
        settings.imageFolder = folder;
        settings.videoFolder = folder;
        settings.cameraName = camera;
    }
    CPropertyPage::OnOK();
}

void CSetBasicDlg::OnCancel() { CPropertyPage::OnCancel(); }
