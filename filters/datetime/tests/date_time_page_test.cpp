// The date and time page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const plugintest::PageUnderTest kDateTimePage{
    L"QelFilter_DateTime", CLSID_QelFilter_DateTime, CLSID_QelPage_DateTime, IID_IQelFilterParams, 440, 280};

class DateTimePageTest : public plugintest::PluginPageTest<IQelDateTimeParams> {
protected:
    DateTimePageTest() : PluginPageTest(kDateTimePage) {}

    int Alignment(int* padding = nullptr) {
        int alignment = -1, pad = -1;
        params_->GetAlignment(&alignment, &pad);
        if (padding)
            *padding = pad;
        return alignment;
    }
};

TEST_F(DateTimePageTest, ShowsTheFilterValuesWhenItOpens) {
    ASSERT_EQ(S_OK, params_->SetColor(10, 20, 30));
    ASSERT_EQ(S_OK, params_->SetAlignment(4, 6));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Text(page, IDC_DATETIME_RED), "10");
    EXPECT_EQ(Text(page, IDC_DATETIME_GREEN), "20");
    EXPECT_EQ(Text(page, IDC_DATETIME_BLUE), "30");
    EXPECT_EQ(Text(page, IDC_DATETIME_PADDING), "6");
    EXPECT_EQ(Text(page, IDC_DATETIME_ALIGNMENT), "Center-Left");
    EXPECT_EQ(Text(page, IDC_DATETIME_SIZE), "12");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DATETIME_ALIGNED), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_DATETIME_X)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_DATETIME_ALIGNMENT)));
    EXPECT_GT(SendMessageW(GetDlgItem(page, IDC_DATETIME_FONT), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_DATETIME_ALIGNMENT), CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(site_.dirtyReports, 0) << "opening is no change";

    std::wstring title;
    ASSERT_EQ(S_OK, Title(title));
    EXPECT_EQ(title, L"Filter Property of Data & Time");
    Close();
}

TEST_F(DateTimePageTest, ColoursAreClampedAndSentAtOnce) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_DATETIME_GREEN, "300");
    EXPECT_EQ(Text(page, IDC_DATETIME_GREEN), "255");
    SetDlgItemTextA(page, IDC_DATETIME_RED, "7");
    BYTE r = 0, g = 0, b = 0;
    params_->GetColor(&r, &g, &b);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 255);
    EXPECT_GT(site_.dirtyReports, 0);
    Close();  // without Apply: the colour read at connection
    params_->GetColor(&r, &g, &b);
    EXPECT_EQ(r, 255);
}

TEST_F(DateTimePageTest, PlaceChoicesAreSentAtOnceAndApplyKeepsThem) {
    HWND page = Open();  // a new filter: start position (0, 0)
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DATETIME_AT_START), BST_CHECKED);

    Click(page, IDC_DATETIME_ALIGNED);
    EXPECT_EQ(Alignment(), 9) << "the list starts at Bottom-Right";
    Select(page, IDC_DATETIME_ALIGNMENT, 2);
    EXPECT_EQ(Alignment(), 3);
    SetDlgItemTextA(page, IDC_DATETIME_PADDING, "-4");
    int padding = -1;
    EXPECT_EQ(Alignment(&padding), 3);
    EXPECT_EQ(padding, 0) << "a negative padding becomes 0";

    Click(page, IDC_DATETIME_AT_START);
    EXPECT_EQ(Alignment(), 0);
    SetDlgItemTextA(page, IDC_DATETIME_X, "40");
    SetDlgItemTextA(page, IDC_DATETIME_Y, "-3");
    POINT start{};
    params_->GetStartPosition(&start);
    EXPECT_EQ(start.x, 40);
    EXPECT_EQ(start.y, -3);

    ASSERT_EQ(S_OK, page_->Apply());
    Close();
    params_->GetStartPosition(&start);
    EXPECT_EQ(start.x, 40);
    EXPECT_EQ(Alignment(), 0);
}

TEST_F(DateTimePageTest, FontAndSizeChoicesAreSentAtOnce) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    HWND sizes = GetDlgItem(page, IDC_DATETIME_SIZE);
    ASSERT_EQ(SendMessageW(sizes, CB_GETCOUNT, 0, 0), 19);
    Select(page, IDC_DATETIME_SIZE, 18);  // 72
    LOGFONTA font{};
    params_->GetFont(&font);
    EXPECT_EQ(font.lfHeight, -72);

    HWND families = GetDlgItem(page, IDC_DATETIME_FONT);
    const LRESULT last = SendMessageW(families, CB_GETCOUNT, 0, 0) - 1;
    Select(page, IDC_DATETIME_FONT, static_cast<int>(last));
    char face[LF_FACESIZE] = {};
    SendMessageA(families, CB_GETLBTEXT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(face));
    params_->GetFont(&font);
    EXPECT_STREQ(font.lfFaceName, face);
    Close();
    params_->GetFont(&font);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
}

TEST_F(DateTimePageTest, RefusesAnObjectWithoutTheParameterInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}

} // namespace
