// The digital zoom page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const plugintest::PageUnderTest kDigitalZoomPage{
    L"QelFilter_DigitalZoom", CLSID_QelFilter_DigitalZoom, CLSID_QelPage_DigitalZoom, IID_IQelFilterParams};

class DigitalZoomPageTest : public plugintest::PluginPageTest<IQelDigitalZoomParams> {
protected:
    DigitalZoomPageTest() : PluginPageTest(kDigitalZoomPage) {}

    // Moves the trackbar as a user would: the position, then the end of the move.
    static void MoveTrackbar(HWND page, int position) {
        HWND trackbar = GetDlgItem(page, IDC_DIGITALZOOM_SLIDER);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
        SendMessageW(page, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(trackbar));
    }

    static std::string Factor(HWND page) {
        char text[32] = {};
        GetDlgItemTextA(page, IDC_DIGITALZOOM_FACTOR, text, sizeof text);
        return text;
    }

    int Zoom() {
        int percent = -1;
        params_->GetZoom(&percent);
        return percent;
    }
};

TEST_F(DigitalZoomPageTest, ShowsTheFilterStepWhenItOpens) {
    ASSERT_EQ(S_OK, params_->SetZoom(250));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DIGITALZOOM_ENABLE), BST_CHECKED);
    HWND trackbar = GetDlgItem(page, IDC_DIGITALZOOM_SLIDER);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0), 4);
    EXPECT_EQ(Factor(page), "x 2.5");
    EXPECT_EQ(site_.dirtyReports, 0) << "opening is no change";

    std::wstring title;
    ASSERT_EQ(S_OK, Title(title));
    EXPECT_EQ(title, L"Filter Property of Digital Zoom");
    Close();
}

TEST_F(DigitalZoomPageTest, AValueThatIsNoStepOpensAtTheFirstStep) {
    ASSERT_EQ(S_OK, params_->SetZoom(175));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_DIGITALZOOM_SLIDER), TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(Factor(page), "x 1.0");
    Close();  // puts back the saved step: 100
    EXPECT_EQ(Zoom(), 100);
}

TEST_F(DigitalZoomPageTest, SendsEveryChangeAtOnceAndPutsBackWithoutApply) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    MoveTrackbar(page, 2);
    EXPECT_EQ(Zoom(), 200);
    EXPECT_EQ(Factor(page), "x 2.0");
    EXPECT_GT(site_.dirtyReports, 0);
    EXPECT_EQ(S_OK, page_->IsPageDirty());

    SendMessageW(GetDlgItem(page, IDC_DIGITALZOOM_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(Enabled(), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_DIGITALZOOM_SLIDER)));

    Close();
    EXPECT_EQ(Enabled(), 1);
    EXPECT_EQ(Zoom(), 100);
}

TEST_F(DigitalZoomPageTest, ADraggedThumbTakesEffectWhenReleased) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    HWND trackbar = GetDlgItem(page, IDC_DIGITALZOOM_SLIDER);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 3);
    // Released after a drag: the notification carries the position beside its code.
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3), reinterpret_cast<LPARAM>(trackbar));
    EXPECT_EQ(Zoom(), 250);
    EXPECT_EQ(S_OK, page_->IsPageDirty());
}

TEST_F(DigitalZoomPageTest, ApplyKeepsTheChanges) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    MoveTrackbar(page, 4);
    EXPECT_EQ(Factor(page), "x 3.0");
    ASSERT_EQ(S_OK, page_->Apply());
    EXPECT_EQ(S_FALSE, page_->IsPageDirty());
    Close();
    EXPECT_EQ(Zoom(), 300);
}

TEST_F(DigitalZoomPageTest, RefusesAnObjectWithoutTheParameterInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}

} // namespace
