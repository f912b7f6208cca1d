// Property sheets and the file dialog through the modal hook.
#include <afxdlgs.h>

#include <gtest/gtest.h>

#include <string>

#include "qeltest/modal_hook.h"
#include "qeltest/temp_dir.h"

namespace {

class CCountingPage : public CPropertyPage {
public:
    explicit CCountingPage(UINT id) : CPropertyPage(id) {}
    int ok = 0;
    int cancel = 0;
    int initialised = 0;
    BOOL OnInitDialog() override {
        ++initialised;
        return CPropertyPage::OnInitDialog();
    }
    void OnOK() override { ++ok; }
    void OnCancel() override { ++cancel; }
};

struct ThreePages {
    CCountingPage first{311}, second{312}, third{313};
    CPropertySheet sheet{"Settings"};
    ThreePages() {
        sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
    }
};

TEST(PropertySheetTest, OkAppliesOnlyThePagesThatWereShown) {
    ThreePages pages;
    qeltest::ScopedModalHook hook([&](HWND sheet, AFX_MODAL_KIND kind) -> INT_PTR {
        EXPECT_EQ(AFX_MODAL_SHEET, kind);
        EXPECT_EQ(0, pages.sheet.GetActiveIndex());
        SendMessageA(sheet, PSM_SETCURSEL, 2, 0); // page 3 shown; page 2 never
        EXPECT_EQ(2, pages.sheet.GetActiveIndex());
        return IDOK;
    });
    EXPECT_EQ(IDOK, pages.sheet.DoModal());
    EXPECT_EQ(1, pages.first.initialised);
    EXPECT_EQ(0, pages.second.initialised);
    EXPECT_EQ(1, pages.third.initialised);
    EXPECT_EQ(1, pages.first.ok);
    EXPECT_EQ(0, pages.second.ok);
    EXPECT_EQ(1, pages.third.ok);
    EXPECT_EQ(0, pages.first.cancel + pages.second.cancel + pages.third.cancel);
}

TEST(PropertySheetTest, CancelRunsOnlyOnCancel) {
    ThreePages pages;
    qeltest::ScopedModalHook hook([&](HWND sheet, AFX_MODAL_KIND) -> INT_PTR {
        SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
        return IDCANCEL;
    });
    EXPECT_EQ(IDCANCEL, pages.sheet.DoModal());
    EXPECT_EQ(0, pages.first.ok + pages.second.ok + pages.third.ok);
    EXPECT_EQ(1, pages.first.cancel);
    EXPECT_EQ(0, pages.second.cancel);
    EXPECT_EQ(1, pages.third.cancel);
}

// Types name into the file dialog's name box.
void TypeFileName(HWND dialog, const std::string& name) {
    // The name box: a combo box in the explorer-style dialog (cmb13), an edit box in the old one (edt1).
    HWND box = GetDlgItem(dialog, 0x47C);
    if (!box)
        box = GetDlgItem(dialog, 0x480);
    ASSERT_NE(nullptr, box);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

TEST(FileDialogTest, ReturnsThePathTyped) {
    qeltest::TempDir dir;
    const std::string typed = dir.File("chosen.avi");
    CFileDialog dialog(FALSE, "avi", nullptr, OFN_HIDEREADONLY, "AVI File (*.avi)|*.avi||");
    qeltest::ScopedModalHook hook([&](HWND window, AFX_MODAL_KIND kind) -> INT_PTR {
        EXPECT_EQ(AFX_MODAL_FILE, kind);
        TypeFileName(window, typed);
        return IDOK;
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ(typed.c_str(), dialog.GetPathName());
    EXPECT_STREQ("chosen.avi", dialog.GetFileName());
    EXPECT_STREQ("avi", dialog.GetFileExt());
    EXPECT_STREQ("chosen", dialog.GetFileTitle());
    EXPECT_EQ(1u, hook.Kinds().size());
}

TEST(FileDialogTest, CancelGivesIdCancelAndTheShortStructureIsAccepted) {
    CFileDialog dialog(TRUE);
    {
        qeltest::ScopedModalHook hook([](HWND, AFX_MODAL_KIND) -> INT_PTR { return IDCANCEL; });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    // The 76-byte structure of 32-bit programs: refused by the platform as it is, run here.
    char name[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = 76;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    qeltest::TempDir dir;
    const std::string typed = dir.File("short.bmp");
    qeltest::ScopedModalHook hook([&](HWND window, AFX_MODAL_KIND) -> INT_PTR {
        TypeFileName(window, typed);
        return IDOK;
    });
    ASSERT_TRUE(AfxGetFileName(&ofn, TRUE)) << "CommDlgExtendedError " << CommDlgExtendedError();
    EXPECT_STREQ(typed.c_str(), name);
    EXPECT_EQ(1u, hook.Kinds().size());
}

} // namespace
