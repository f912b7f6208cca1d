// The digital zoom page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"
#include "test_page_site.h"
#include "../resource.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

namespace {

using plugintest::ComPtr;
using plugintest::TestPageSite;

class DigitalZoomPageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_DigitalZoom");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK,
                  CoCreateInstance(CLSID_QelFilter_DigitalZoom, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_DigitalZoom, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page_)));
        host_ = CreateWindowExW(0, L"STATIC", L"page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 300, nullptr,
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
        const RECT rect = {0, 0, 400, 260};
        EXPECT_EQ(S_OK, page_->Activate(host_, &rect, FALSE));
        return GetWindow(host_, GW_CHILD);
    }
    void Close() {
        EXPECT_EQ(S_OK, page_->Deactivate());
        EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
        EXPECT_EQ(S_OK, page_->SetPageSite(nullptr));
    }

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
    int Enabled() {
        int on = -1;
        params_->GetEnable(&on);
        return on;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelDigitalZoomParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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

    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    EXPECT_STREQ(info.pszTitle, L"Filter Property of Digital Zoom");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}

} // namespace
