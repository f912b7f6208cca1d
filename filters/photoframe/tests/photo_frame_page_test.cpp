// The photo frame page in a test page site: the enable goes to the filter at once, the path on Apply.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "page_test_fixture.h"
#include "../resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const plugintest::PageUnderTest kPhotoFramePage{
    L"QelFilter_PhotoFrame", CLSID_QelFilter_PhotoFrame, CLSID_QelPage_PhotoFrame, IID_IQelFilterParams};

class PhotoFramePageTest : public plugintest::PluginPageTest<IQelPhotoFrameParams> {
protected:
    PhotoFramePageTest() : PluginPageTest(kPhotoFramePage) {}

    std::wstring Path() {
        wchar_t path[kQelFramePathChars] = {};
        params_->GetFramePath(path);
        return path;
    }
};

TEST_F(PhotoFramePageTest, ShowsThePathAndTheEnable) {
    ASSERT_EQ(S_OK, params_->SetFramePath(L"C:\\frames\\gold.png"));
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    char text[MAX_PATH] = {};
    GetDlgItemTextA(page, IDC_PHOTOFRAME_PATH, text, sizeof text);
    EXPECT_STREQ(text, "C:\\frames\\gold.png");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_PHOTOFRAME_ENABLE), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PHOTOFRAME_PATH)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PHOTOFRAME_BROWSE)));
    EXPECT_EQ(site_.dirtyReports, 0) << "opening is no change";
    Close();
}

TEST_F(PhotoFramePageTest, TheEnableGoesAtOnceThePathOnApply) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SendMessageW(GetDlgItem(page, IDC_PHOTOFRAME_ENABLE), BM_CLICK, 0, 0);
    EXPECT_EQ(Enabled(), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PHOTOFRAME_PATH)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PHOTOFRAME_BROWSE)));
    SendMessageW(GetDlgItem(page, IDC_PHOTOFRAME_ENABLE), BM_CLICK, 0, 0);

    SetDlgItemTextA(page, IDC_PHOTOFRAME_PATH, "C:\\frames\\blue.png");
    EXPECT_EQ(Path(), L"") << "the path waits for Apply";
    EXPECT_GT(site_.dirtyReports, 0);
    ASSERT_EQ(S_OK, page_->Apply());
    EXPECT_EQ(Path(), L"C:\\frames\\blue.png");
    EXPECT_EQ(Enabled(), 1);
    Close();
}

TEST_F(PhotoFramePageTest, ClosingWithoutApplySendsNoPath) {
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    SetDlgItemTextA(page, IDC_PHOTOFRAME_PATH, "C:\\frames\\blue.png");
    Close();
    EXPECT_EQ(Path(), L"");
}

TEST_F(PhotoFramePageTest, RefusesAnObjectWithoutTheParameterInterface) {
    ExpectRefusesAnObjectWithoutTheParameters();
}

} // namespace
