// The contrast/brightness page in a test page site.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"
#include "../../resource.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>
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
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives as long as the test
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

class ContrastBrightnessPageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_CB");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_ContrastBrightness, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_ContrastBrightness, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&page_)));
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

    static std::string Text(HWND page, int id) {
        char text[64] = {};
        GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
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
    int Enabled() {
        int on = -1;
        params_->GetEnable(&on);
        return on;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelContrastBrightnessParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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

    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    EXPECT_STREQ(info.pszTitle, L"Filter Property of Contrast & Brightness");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}
