// The rotate page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const plugintest::PageUnderTest kRotatePage{
    L"QelFilter_Rotate", CLSID_QelFilter_Rotate, CLSID_QelPage_Rotate, IID_IQelRotateParams};

class RotatePageTest : public plugintest::PluginPageTest<IQelRotateParams> {
protected:
    RotatePageTest() : PluginPageTest(kRotatePage) {}

    static bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

    int Angle() {
        int angle = -1;
        params_->GetAngle(&angle);
        return angle;
    }
};

} // namespace

TEST_F(RotatePageTest, ShowsTheFilterValuesWhenItOpens) {
    ASSERT_EQ(S_OK, params_->SetAngle(270));
    ASSERT_EQ(S_OK, params_->SetMethod(1));
    ASSERT_EQ(S_OK, params_->SetBackColor(65280));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Checked(page, IDC_ROTATE_ENABLE));
    EXPECT_TRUE(Checked(page, IDC_ROTATE_ANGLE_270));
    EXPECT_FALSE(Checked(page, IDC_ROTATE_ANGLE_90));
    EXPECT_TRUE(Checked(page, IDC_ROTATE_METHOD_ZOOM));
    char text[32] = {};
    GetDlgItemTextA(page, IDC_ROTATE_BACK_COLOR, text, sizeof text);
    EXPECT_STREQ(text, "65280");
    EXPECT_EQ(site_.dirtyReports, 0) << "opening is no change";

    std::wstring title;
    ASSERT_EQ(S_OK, Title(title));
    EXPECT_EQ(title, L"Rotate");
    Close();
}

TEST_F(RotatePageTest, SendsEveryChangeAtOnceAndPutsBackEnableAndAngleWithoutApply) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);

    Click(page, IDC_ROTATE_ANGLE_90);
    EXPECT_EQ(Angle(), 90);
    EXPECT_GT(site_.dirtyReports, 0);
    EXPECT_EQ(S_OK, page_->IsPageDirty());

    Click(page, IDC_ROTATE_METHOD_ZOOM);
    int method = -1;
    params_->GetMethod(&method);
    EXPECT_EQ(method, 1);

    SetDlgItemTextA(page, IDC_ROTATE_BACK_COLOR, "255");
    COLORREF color = 0;
    params_->GetBackColor(&color);
    EXPECT_EQ(color, 255u);

    Click(page, IDC_ROTATE_ENABLE); // off
    EXPECT_EQ(Enabled(), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_ROTATE_ANGLE_180)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_ROTATE_BACK_COLOR)));

    Close(); // without Apply: enable and angle as they were when the page connected
    EXPECT_EQ(Enabled(), 1);
    EXPECT_EQ(Angle(), 0);
}

TEST_F(RotatePageTest, ApplyKeepsTheChanges) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    Click(page, IDC_ROTATE_ANGLE_180);
    Click(page, IDC_ROTATE_ENABLE);
    ASSERT_EQ(S_OK, page_->Apply());
    EXPECT_EQ(S_FALSE, page_->IsPageDirty());
    Close();
    EXPECT_EQ(Angle(), 180);
    EXPECT_EQ(Enabled(), 0);
}

TEST_F(RotatePageTest, RefusesAnObjectWithoutTheRotateInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}
