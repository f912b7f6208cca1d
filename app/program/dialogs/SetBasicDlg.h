#pragma once
// The settings sheet's Basic page: the destination folder, the camera, the mirror and the rotation.
// The camera, the mirror and the rotation act at once (and stay after Cancel); the folder and the
// camera's name are kept by OK.
#include <afxdlgs.h>

#include "CaptureController.h"

class CSetBasicDlg : public CPropertyPage {
    DECLARE_DYNCREATE(CSetBasicDlg)
public:
    CSetBasicDlg();
    explicit CSetBasicDlg(CCaptureController* capture);
    ~CSetBasicDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnBrowseImageFolder();
    afx_msg void OnBrowseVideoFolder();
    afx_msg void OnCameraPicked();
    afx_msg void OnAdvanced();
    afx_msg void OnMirror();
    afx_msg void OnRotation(UINT id);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The folder browser for the edit; an unsuitable folder is refused with a message.
    void BrowseInto(CEdit& edit);
    void ApplyMirrorEnabling();

    CCaptureController* m_capture = nullptr; // not owned
    CEdit m_edtImageFolder, m_edtVideoFolder;
    CComboBox m_cboCamera;
    CStatic m_stCamera;
    CButton m_chkMirror;
};

// A folder the program may not save to: a network path or a removable, remote, CD-ROM or RAM drive.
BOOL IsUnsuitableFolder(const char* path);
