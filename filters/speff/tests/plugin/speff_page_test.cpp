// The special-effect page in a test page site: the effect table in the combo box, the strength range
// of each effect, changes sent at once, and the values put back without Apply.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../../resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const plugintest::PageUnderTest kSpecialEffectPage{
    L"QelFilter_SpEff", CLSID_QelFilter_SpecialEffect, CLSID_QelPage_SpecialEffect, IID_IQelFilterParams};

class SpecialEffectPageTest : public plugintest::PluginPageTest<IQelSpecialEffectParams> {
protected:
    SpecialEffectPageTest() : PluginPageTest(kSpecialEffectPage) {}

    // Chooses a row of the effect list as a user would.
    static void Choose(HWND page, int row) { Select(page, IDC_SPEFF_EFFECT_COMBO, row); }
    static LRESULT Trackbar(HWND page, UINT message) {
        return SendDlgItemMessageW(page, IDC_SPEFF_STRENGTH_TRACKBAR, message, 0, 0);
    }

    int Effect() {
        int effect = -99;
        params_->GetEffect(&effect);
        return effect;
    }
    int Strength() {
        int strength = -99;
        params_->GetStrength(&strength);
        return strength;
    }
};

} // namespace

TEST_F(SpecialEffectPageTest, ListsTheEffectsAndShowsTheFilterValues) {
    ASSERT_EQ(S_OK, params_->SetEffect(6));
    ASSERT_EQ(S_OK, params_->SetStrength(12));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    const HWND combo = GetDlgItem(page, IDC_SPEFF_EFFECT_COMBO);
    ASSERT_EQ(10, SendMessageW(combo, CB_GETCOUNT, 0, 0));
    char name[64] = {};
    SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ("No Effect", name);
    SendMessageA(combo, CB_GETLBTEXT, 8, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ("Swirl / Spiral", name);
    EXPECT_EQ(7, SendMessageW(combo, CB_GETCURSEL, 0, 0));  // the mosaic's row
    EXPECT_EQ(2, Trackbar(page, TBM_GETRANGEMIN));
    EXPECT_EQ(16, Trackbar(page, TBM_GETRANGEMAX));
    EXPECT_EQ(12, Trackbar(page, TBM_GETPOS));
    EXPECT_EQ("12", Text(page, IDC_SPEFF_STRENGTH_EDIT));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR)));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_SPEFF_ENABLE), BST_CHECKED);
    EXPECT_EQ(0, site_.dirtyReports) << "opening is no change";

    std::wstring title;
    ASSERT_EQ(S_OK, Title(title));
    EXPECT_EQ(title, L"Filter Property of Special Effect");
    Close();
}

TEST_F(SpecialEffectPageTest, ChoosingAnEffectSendsItsDefaultStrengthAndTheEffect) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_EDIT)));  // no effect: no strength
    Choose(page, 8);  // swirl
    EXPECT_EQ(7, Effect());
    EXPECT_EQ(0, Strength());
    EXPECT_EQ(-100, Trackbar(page, TBM_GETRANGEMIN));
    EXPECT_EQ("0", Text(page, IDC_SPEFF_STRENGTH_EDIT));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_EDIT)));
    EXPECT_GT(site_.dirtyReports, 0);
    Choose(page, 9);  // spotlight: the strength is not used
    EXPECT_EQ(8, Effect());
    EXPECT_EQ(50, Strength());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR)));
    Close();
}

TEST_F(SpecialEffectPageTest, TypedStrengthIsBoundedToTheEffectsRange) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Choose(page, 7);  // mosaic, 2..16
    SetDlgItemTextA(page, IDC_SPEFF_STRENGTH_EDIT, "40");
    EXPECT_EQ(16, Strength());
    EXPECT_EQ("16", Text(page, IDC_SPEFF_STRENGTH_EDIT));
    EXPECT_EQ(16, Trackbar(page, TBM_GETPOS));
    SetDlgItemTextA(page, IDC_SPEFF_STRENGTH_EDIT, "5");
    EXPECT_EQ(5, Strength());
    EXPECT_EQ("5", Text(page, IDC_SPEFF_STRENGTH_EDIT));
    Close();
}

TEST_F(SpecialEffectPageTest, TrackbarMovesSendTheStrength) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Choose(page, 4);  // emboss
    const HWND trackbar = GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 70);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 70), reinterpret_cast<LPARAM>(trackbar));
    EXPECT_EQ(70, Strength());
    EXPECT_EQ("70", Text(page, IDC_SPEFF_STRENGTH_EDIT));
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 30);
    SendMessageW(page, WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(trackbar));
    EXPECT_EQ(70, Strength()) << "dragging is sent when it ends";
    SendMessageW(page, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(trackbar));
    EXPECT_EQ(30, Strength());
    Close();
}

TEST_F(SpecialEffectPageTest, EnableSwitchesTheFilterAndTheControls) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Choose(page, 2);  // sepia
    SendMessageW(GetDlgItem(page, IDC_SPEFF_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(0, Enabled());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_EFFECT_COMBO)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR)));
    SendMessageW(GetDlgItem(page, IDC_SPEFF_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(1, Enabled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR)));
    Close();
}

TEST_F(SpecialEffectPageTest, ClosingWithoutApplyPutsBackTheValuesApplyKeepsThem) {
    ASSERT_EQ(S_OK, params_->SetEffect(3));
    ASSERT_EQ(S_OK, params_->SetStrength(40));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Choose(page, 1);  // black and white
    SendMessageW(GetDlgItem(page, IDC_SPEFF_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(0, Effect());
    Close();
    EXPECT_EQ(3, Effect());
    EXPECT_EQ(40, Strength());
    EXPECT_EQ(1, Enabled());

    page = Open();
    ASSERT_NE(page, nullptr);
    Choose(page, 3);  // negative
    ASSERT_EQ(S_OK, page_->Apply());
    Close();
    EXPECT_EQ(2, Effect());
    EXPECT_EQ(50, Strength());
}

TEST_F(SpecialEffectPageTest, AnUnknownEffectKeepsTheFirstRow) {
    ASSERT_EQ(S_OK, params_->SetEffect(12));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(0, SendDlgItemMessageW(page, IDC_SPEFF_EFFECT_COMBO, CB_GETCURSEL, 0, 0));
    Close();
    EXPECT_EQ(-1, Effect()) << "closing writes back the row's effect";
}

TEST_F(SpecialEffectPageTest, RefusesAnObjectWithoutTheParameterInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}
