#pragma once
// The fixture of the property-page tests: one plug-in's filter and page, created through COM from the
// registered module, a host window, and the steps a property frame takes to show and close the page.
#include "plugin_fixture.h"
#include "test_page_site.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

namespace plugintest {

// What a page test runs on: the plug-in module, the classes of its filter and page, the parameter
// interface the page talks to, and the size the page is shown at.
struct PageUnderTest {
    const wchar_t* module;
    const CLSID& filter;
    const CLSID& page;
    const IID& params;
    int width = 400;
    int height = 260;
};

template <class Params>
class PluginPageTest : public PluginParamsTest<Params> {
protected:
    explicit PluginPageTest(const PageUnderTest& plugin)
        : PluginParamsTest<Params>(plugin.module, plugin.filter, plugin.params), plugin_(plugin) {}

    void SetUp() override {
        PluginParamsTest<Params>::SetUp();
        if (this->HasFatalFailure())
            return;
        ASSERT_EQ(S_OK, CoCreateInstance(plugin_.page, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page_)));
        host_ = CreateWindowExW(0, L"STATIC", L"page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                plugin_.width + 20, plugin_.height + 40, nullptr, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override {
        page_.Reset();
        if (host_)
            DestroyWindow(host_);
        PluginParamsTest<Params>::TearDown();
    }

    // Connects the page to the filter and shows it; the page's dialog window.
    HWND Open() {
        EXPECT_EQ(S_OK, page_->SetPageSite(&site_));
        IUnknown* objects[] = {this->filter_.Get()};
        EXPECT_EQ(S_OK, page_->SetObjects(1, objects));
        const RECT rect = {0, 0, plugin_.width, plugin_.height};
        EXPECT_EQ(S_OK, page_->Activate(host_, &rect, FALSE));
        return GetWindow(host_, GW_CHILD);
    }
    void Close() {
        EXPECT_EQ(S_OK, page_->Deactivate());
        EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
        EXPECT_EQ(S_OK, page_->SetPageSite(nullptr));
    }

    // The page's title as the property frame shows it.
    HRESULT Title(std::wstring& title) {
        PROPPAGEINFO info{};
        const HRESULT hr = page_->GetPageInfo(&info);
        if (SUCCEEDED(hr) && info.pszTitle)
            title = info.pszTitle;
        CoTaskMemFree(info.pszTitle);
        CoTaskMemFree(info.pszDocString);
        CoTaskMemFree(info.pszHelpFile);
        return hr;
    }

    // An object without the parameter interface is refused, and then there is nothing to disconnect.
    void ExpectRefusesAnObjectWithoutTheParameters() {
        ComPtr<IUnknown> notAFilter;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notAFilter)));
        IUnknown* objects[] = {notAFilter.Get()};
        EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, objects));
        EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "nothing to disconnect";
    }

    static std::string Text(HWND page, int id) {
        char text[64] = {};
        GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
    static void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }
    // Chooses a row of a combo box as a user would: the selection, then its notification.
    static void Select(HWND page, int id, int row) {
        const HWND combo = GetDlgItem(page, id);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

    int Enabled() {
        int on = -1;
        this->params_->GetEnable(&on);
        return on;
    }

    const PageUnderTest& plugin_;
    ComPtr<IPropertyPage> page_;
    TestPageSite site_;
    HWND host_ = nullptr;
};

} // namespace plugintest
