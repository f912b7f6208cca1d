// The rotate page in a test page site: it shows the filter's values and sends every change at once.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"
#include "../resource.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>

#include <string>

namespace {

using plugintest::ComPtr;

class TestPageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; } // lives as long as the test
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        if (flags & PROPPAGESTATUS_DIRTY)
            ++dirtyReports;
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* locale) override {
        *locale = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** container) override {
        *container = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

    int dirtyReports = 0;
};

class RotatePageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_Rotate");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_Rotate, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelRotateParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_Rotate, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page_)));
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

    // Connects the page to the filter and shows it; the page's dialog window.
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

    static void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }
    static bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

    int Angle() {
        int angle = -1;
        params_->GetAngle(&angle);
        return angle;
    }
    int Enabled() {
        int on = -1;
        params_->GetEnable(&on);
        return on;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelRotateParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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

    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    EXPECT_STREQ(info.pszTitle, L"Rotate");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}
