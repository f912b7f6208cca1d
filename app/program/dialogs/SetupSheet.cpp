// The controller's settings sheet: built here with its pages, which belong to the program.
#include <afxdlgs.h>

#include "CaptureController.h"
#include "SetBasicDlg.h"
#include "SetFormatDlg.h"
#include "SetModeDlg.h"
#include "resource.h"

namespace {

// The sheet opens over the program's window rather than at its top-left corner.
class CSetupSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    BOOL OnInitDialog() override {
        CPropertySheet::OnInitDialog();
        CenterWindow(m_pParentWnd);
        return TRUE;
    }
};

} // namespace

int CCaptureController::RunSetupSheet() {
    CSetBasicDlg basic(this);
    CSetFormatDlg format(this);
    CSetModeDlg mode(this);
    CSetupSheet sheet(IDS_SETUP, AfxGetMainWnd());
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.m_psh.dwFlags &= ~PSH_HASHELP;
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&basic), static_cast<CPropertyPage*>(&format),
                                static_cast<CPropertyPage*>(&mode)}) {
        page->m_psp.dwFlags &= ~PSP_HASHELP;
        sheet.AddPage(page);
    }
    if (sheet.DoModal() == IDOK) {
        SetQualities();
        WriteSettings();
    }
    return 0;
}
