// The photo frame page in a test page site: the enable goes to the filter at once, the path on Apply.
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

class PhotoFramePageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_PhotoFrame");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK,
                  CoCreateInstance(CLSID_QelFilter_PhotoFrame, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_PhotoFrame, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page_)));
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

    std::wstring Path() {
        wchar_t path[kQelFramePathChars] = {};
        params_->GetFramePath(path);
        return path;
    }
    int Enabled() {
        int on = -1;
        params_->GetEnable(&on);
        return on;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelPhotoFrameParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}

} // namespace
