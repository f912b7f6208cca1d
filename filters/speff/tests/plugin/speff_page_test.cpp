// The special-effect page in a test page site: the effect table in the combo box, the strength range
// of each effect, changes sent at once, and the values put back without Apply.
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

class SpecialEffectPageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_SpEff");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_SpecialEffect, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params_.GetAddressOf())));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelPage_SpecialEffect, nullptr, CLSCTX_INPROC_SERVER,
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

    // Chooses a row of the combo box as a user would: the selection, then its notification.
    static void Choose(HWND page, int row) {
        const HWND combo = GetDlgItem(page, IDC_SPEFF_EFFECT_COMBO);
        SendMessageW(combo, CB_SETCURSEL, row, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_SPEFF_EFFECT_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static std::string Text(HWND page, int id) {
        char text[64] = {};
        GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
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
    int Enabled() {
        int on = -1;
        params_->GetEnable(&on);
        return on;
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelSpecialEffectParams> params_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
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

    PROPPAGEINFO info{};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    EXPECT_STREQ(info.pszTitle, L"Filter Property of Special Effect");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
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
    ComPtr<IUnknown> notAFilter;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
    IUnknown* objects[] = {notAFilter.Get()};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
}
