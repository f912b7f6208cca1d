// The contrast/brightness page in a test page site.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../../resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const plugintest::PageUnderTest kContrastBrightnessPage{
    L"QelFilter_CB", CLSID_QelFilter_ContrastBrightness, CLSID_QelPage_ContrastBrightness, IID_IQelFilterParams};

class ContrastBrightnessPageTest : public plugintest::PluginPageTest<IQelContrastBrightnessParams> {
protected:
    ContrastBrightnessPageTest() : PluginPageTest(kContrastBrightnessPage) {}

    static LRESULT Ask(HWND page, int id, UINT message) { return SendDlgItemMessageW(page, id, message, 0, 0); }
    static void Scroll(HWND page, int id, int position, WORD code) {
        const HWND trackbar = GetDlgItem(page, id);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
        SendMessageW(page, WM_HSCROLL, MAKEWPARAM(code, code == TB_THUMBPOSITION ? position : 0),
                     reinterpret_cast<LPARAM>(trackbar));
    }

    int Contrast() {
        int value = -999;
        params_->GetContrast(&value);
        return value;
    }
    int Brightness() {
        int value = -999;
        params_->GetBrightness(&value);
        return value;
    }
};

} // namespace

TEST_F(ContrastBrightnessPageTest, ShowsTheFilterValuesInTheirRanges) {
    ASSERT_EQ(S_OK, params_->SetContrast(-30));
    ASSERT_EQ(S_OK, params_->SetBrightness(45));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(-100, Ask(page, IDC_CB_CONTRAST_TRACKBAR, TBM_GETRANGEMIN));
    EXPECT_EQ(100, Ask(page, IDC_CB_BRIGHTNESS_TRACKBAR, TBM_GETRANGEMAX));
    EXPECT_EQ(10, Ask(page, IDC_CB_CONTRAST_TRACKBAR, TBM_GETPAGESIZE));
    EXPECT_EQ(-30, Ask(page, IDC_CB_CONTRAST_TRACKBAR, TBM_GETPOS));
    EXPECT_EQ(45, Ask(page, IDC_CB_BRIGHTNESS_TRACKBAR, TBM_GETPOS));
    EXPECT_EQ("-30", Text(page, IDC_CB_CONTRAST_EDIT));
    EXPECT_EQ("45", Text(page, IDC_CB_BRIGHTNESS_EDIT));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_CB_ENABLE));
    EXPECT_EQ(0, site_.dirtyReports) << "opening is no change";

    std::wstring title;
    ASSERT_EQ(S_OK, Title(title));
    EXPECT_EQ(title, L"Filter Property of Contrast & Brightness");
    Close();
}

TEST_F(ContrastBrightnessPageTest, TypedValuesAreBoundedAndSentAtOnce) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_CB_CONTRAST_EDIT, "150");
    EXPECT_EQ(100, Contrast());
    EXPECT_EQ("100", Text(page, IDC_CB_CONTRAST_EDIT));
    EXPECT_EQ(100, Ask(page, IDC_CB_CONTRAST_TRACKBAR, TBM_GETPOS));
    EXPECT_GT(site_.dirtyReports, 0);
    SetDlgItemTextA(page, IDC_CB_BRIGHTNESS_EDIT, "-150");
    EXPECT_EQ(-100, Brightness());
    EXPECT_EQ("-100", Text(page, IDC_CB_BRIGHTNESS_EDIT));
    SetDlgItemTextA(page, IDC_CB_BRIGHTNESS_EDIT, "-");  // the start of a negative number stays
    EXPECT_EQ("-", Text(page, IDC_CB_BRIGHTNESS_EDIT));
    SetDlgItemTextA(page, IDC_CB_BRIGHTNESS_EDIT, "-25");
    EXPECT_EQ(-25, Brightness());
    Close();
}

TEST_F(ContrastBrightnessPageTest, TrackbarsSendTheirValueWhenTheMoveEnds) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Scroll(page, IDC_CB_CONTRAST_TRACKBAR, 40, TB_THUMBPOSITION);
    EXPECT_EQ(40, Contrast());
    EXPECT_EQ("40", Text(page, IDC_CB_CONTRAST_EDIT));
    Scroll(page, IDC_CB_BRIGHTNESS_TRACKBAR, -60, TB_THUMBTRACK);
    EXPECT_EQ(0, Brightness());
    Scroll(page, IDC_CB_BRIGHTNESS_TRACKBAR, -60, TB_ENDTRACK);
    EXPECT_EQ(-60, Brightness());
    EXPECT_EQ(40, Contrast());
    Close();
}

TEST_F(ContrastBrightnessPageTest, EnableSwitchesTheFilterAndTheControls) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SendMessageW(GetDlgItem(page, IDC_CB_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(0, Enabled());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CB_CONTRAST_TRACKBAR)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CB_BRIGHTNESS_EDIT)));
    SendMessageW(GetDlgItem(page, IDC_CB_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(1, Enabled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_CB_BRIGHTNESS_TRACKBAR)));
    Close();
}

TEST_F(ContrastBrightnessPageTest, ClosingWithoutApplyPutsBackTheValuesApplyKeepsThem) {
    ASSERT_EQ(S_OK, params_->SetContrast(10));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_CB_CONTRAST_EDIT, "70");
    SetDlgItemTextA(page, IDC_CB_BRIGHTNESS_EDIT, "-5");
    SendMessageW(GetDlgItem(page, IDC_CB_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(70, Contrast());
    Close();
    EXPECT_EQ(10, Contrast());
    EXPECT_EQ(0, Brightness());
    EXPECT_EQ(1, Enabled());

    page = Open();
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_CB_BRIGHTNESS_EDIT, "33");
    ASSERT_EQ(S_OK, page_->Apply());
    EXPECT_EQ(S_FALSE, page_->IsPageDirty());
    Close();
    EXPECT_EQ(33, Brightness());
    EXPECT_EQ(10, Contrast());
}

TEST_F(ContrastBrightnessPageTest, RefusesAnObjectWithoutTheParameterInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}
