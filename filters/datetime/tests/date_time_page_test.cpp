// The date and time page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"
#include "test_page_site.h"
#include "../resource.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

namespace {

using plugintest::ComPtr;
using plugintest::TestPageSite;

class DateTimePageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_DateTime");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_DateTime, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_DateTime, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page_)));
        host_ = CreateWindowExW(0, L"STATIC", L"page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 460, 320, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override {
        page_.Reset();
        params_.Reset();
        filter_.Reset();
        if (host_)
            DestroyWindow(host_);
        module_.reset();
        ComTest::TearDown();
    }

    HWND Open() {
        EXPECT_EQ(S_OK, page_->SetPageSite(&site_));
        IUnknown* objects[] = {filter_.Get()};
        EXPECT_EQ(S_OK, page_->SetObjects(1, objects));
        const RECT rect = {0, 0, 440, 280};
        EXPECT_EQ(S_OK, page_->Activate(host_, &rect, FALSE));
        return GetWindow(host_, GW_CHILD);
    }
    void Close() {
        EXPECT_EQ(S_OK, page_->Deactivate());
        EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
        EXPECT_EQ(S_OK, page_->SetPageSite(nullptr));
    }

    static std::string Text(HWND page, int id) {
        char text[64] = {};
        GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
    static void Select(HWND page, int id, int row) {
        HWND combo = GetDlgItem(page, id);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

    int Alignment(int* padding = nullptr) {
        int alignment = -1, pad = -1;
        params_->GetAlignment(&alignment, &pad);
        if (padding)
            *padding = pad;
        return alignment;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelDateTimeParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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

    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    EXPECT_STREQ(info.pszTitle, L"Filter Property of Data & Time");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}

} // namespace
