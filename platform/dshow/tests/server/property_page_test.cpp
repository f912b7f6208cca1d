// The property page base in a page site of the test's own, as a property frame would drive it.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qeltest/com_test.h"
#include "test_server_loader.h"

using Microsoft::WRL::ComPtr;

namespace {

class RecordingPageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        statusChanges.push_back(flags);
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* locale) override {
        *locale = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

    ULONG refs = 1;
    std::vector<DWORD> statusChanges;
};

class PropertyPageTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ComPtr<IClassFactory> pages = server_.Factory(CLSID_QelTestPage);
        ComPtr<IClassFactory> objects = server_.Factory(CLSID_QelTestObject);
        ASSERT_TRUE(pages && objects);
        ASSERT_EQ(S_OK, pages->CreateInstance(nullptr, IID_IPropertyPage, &page_));
        ASSERT_EQ(S_OK, objects->CreateInstance(nullptr, IID_IQelTestValue, &value_));
        frame_ = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, frame_);
    }
    void TearDown() override {
        page_.Reset();
        value_.Reset();
        if (frame_)
            DestroyWindow(frame_);
        EXPECT_EQ(1u, site_.refs) << "the page must give its site back";
        qeltest::ComTest::TearDown();
    }

    // Site and object set, page shown in the frame at (10, 20).
    void Open() {
        ASSERT_EQ(S_OK, page_->SetPageSite(&site_));
        IUnknown* objects[] = {value_.Get()};
        ASSERT_EQ(S_OK, page_->SetObjects(1, objects));
        const RECT where = {10, 20, 310, 220};
        ASSERT_EQ(S_OK, page_->Activate(frame_, &where, FALSE));
    }
    void Close() {
        EXPECT_EQ(S_OK, page_->Deactivate());
        EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
        EXPECT_EQ(S_OK, page_->SetPageSite(nullptr));
    }
    HWND PageWindow() const { return GetWindow(frame_, GW_CHILD); }
    HWND CheckBox() const { return GetDlgItem(PageWindow(), IDC_QEL_TEST_ENABLE); }

    TestServer server_;
    ComPtr<IPropertyPage> page_;
    ComPtr<IQelTestValue> value_;
    RecordingPageSite site_;
    HWND frame_ = nullptr;
};

TEST_F(PropertyPageTest, PageInfoGivesTheTitleStringAndTheDialogsSizeInPixels) {
    PROPPAGEINFO info = {};
    ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
    ASSERT_NE(nullptr, info.pszTitle);
    EXPECT_EQ(std::wstring(QEL_TEST_PAGE_TITLE), info.pszTitle);
    EXPECT_EQ(nullptr, info.pszDocString);
    EXPECT_EQ(nullptr, info.pszHelpFile);
    CoTaskMemFree(info.pszTitle);

    // The dialog itself, created as an ordinary dialog: its client area is the template's size.
    HWND reference = CreateDialogParamW(server_.Module(), MAKEINTRESOURCEW(IDD_QEL_TEST_PAGE), nullptr,
                                        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(nullptr, reference);
    RECT client = {};
    GetClientRect(reference, &client);
    RECT units = {0, 0, QEL_TEST_PAGE_WIDTH_DLU, QEL_TEST_PAGE_HEIGHT_DLU};
    MapDialogRect(reference, &units);
    DestroyWindow(reference);
    EXPECT_EQ(client.right, info.size.cx);
    EXPECT_EQ(client.bottom, info.size.cy);
    EXPECT_EQ(units.right, info.size.cx);
    EXPECT_EQ(units.bottom, info.size.cy);
    EXPECT_GT(info.size.cx, QEL_TEST_PAGE_WIDTH_DLU) << "dialog units are not pixels";

    EXPECT_EQ(E_POINTER, page_->GetPageInfo(nullptr));
}

TEST_F(PropertyPageTest, ActivateShowsTheDialogAsAChildAtTheRectangle) {
    value_->SetValue(1);
    Open();
    HWND page = PageWindow();
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(GetWindowLongW(page, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(page));
    RECT rect = {};
    GetWindowRect(page, &rect);
    MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(20, rect.top);
    EXPECT_EQ(300, rect.right - rect.left);
    EXPECT_EQ(200, rect.bottom - rect.top);
    EXPECT_EQ(BST_CHECKED, SendMessageW(CheckBox(), BM_GETCHECK, 0, 0)) << "OnActivate reads the object";

    const RECT again = {0, 0, 10, 10};
    EXPECT_EQ(E_UNEXPECTED, page_->Activate(frame_, &again, FALSE));

    const RECT moved = {30, 40, 130, 90};
    EXPECT_EQ(S_OK, page_->Move(&moved));
    GetWindowRect(page, &rect);
    MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(50, rect.bottom - rect.top);
    EXPECT_EQ(E_POINTER, page_->Move(nullptr));

    EXPECT_EQ(S_OK, page_->Show(SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(page));
    EXPECT_EQ(S_OK, page_->Show(SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(E_INVALIDARG, page_->Show(SW_MAXIMIZE));

    Close();
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(nullptr, PageWindow());
    EXPECT_EQ(E_UNEXPECTED, page_->Deactivate());
    EXPECT_EQ(E_UNEXPECTED, page_->Show(SW_SHOW));
    EXPECT_EQ(E_UNEXPECTED, page_->Move(&moved));
}

TEST_F(PropertyPageTest, AChangeMarksThePageDirtyAndApplyKeepsIt) {
    Open();
    EXPECT_EQ(S_FALSE, page_->IsPageDirty());
    EXPECT_EQ(S_OK, page_->Apply()) << "nothing to apply";

    SendMessageW(CheckBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(S_OK, page_->IsPageDirty());
    ASSERT_EQ(1u, site_.statusChanges.size());
    EXPECT_EQ(static_cast<DWORD>(PROPPAGESTATUS_DIRTY), site_.statusChanges[0]);
    int value = -1;
    value_->GetValue(&value);
    EXPECT_EQ(0, value) << "this page sends its changes only on Apply";

    EXPECT_EQ(S_OK, page_->Apply());
    EXPECT_EQ(S_FALSE, page_->IsPageDirty());
    value_->GetValue(&value);
    EXPECT_EQ(1, value);
    Close();
}

TEST_F(PropertyPageTest, SiteAndObjectsFollowTheirContract) {
    EXPECT_EQ(E_UNEXPECTED, page_->SetPageSite(nullptr)) << "no site to release";
    EXPECT_EQ(E_UNEXPECTED, page_->Apply()) << "no object yet";
    ASSERT_EQ(S_OK, page_->SetPageSite(&site_));
    EXPECT_EQ(2u, site_.refs);
    EXPECT_EQ(E_UNEXPECTED, page_->SetPageSite(&site_)) << "a second site";

    EXPECT_EQ(E_POINTER, page_->SetObjects(1, nullptr));
    IUnknown* wrongObject[] = {static_cast<IPropertyPageSite*>(&site_)};
    EXPECT_EQ(E_NOINTERFACE, page_->SetObjects(1, wrongObject));
    IUnknown* twoObjects[] = {value_.Get(), value_.Get()};
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(2, twoObjects));
    IUnknown* objects[] = {value_.Get()};
    EXPECT_EQ(S_OK, page_->SetObjects(1, objects));
    EXPECT_EQ(S_OK, page_->SetObjects(1, objects)) << "a new object replaces the old one";
    EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
    EXPECT_EQ(E_UNEXPECTED, page_->SetObjects(0, nullptr)) << "the page's own disconnect answer";

    EXPECT_EQ(E_NOTIMPL, page_->Help(nullptr));
    EXPECT_EQ(S_OK, page_->SetPageSite(nullptr));
    EXPECT_EQ(1u, site_.refs);
}

TEST_F(PropertyPageTest, TabKeysAreTranslatedForThePageOnly) {
    Open();
    SetFocus(CheckBox());
    MSG tab = {};
    tab.hwnd = CheckBox();
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_EQ(S_OK, page_->TranslateAccelerator(&tab));
    EXPECT_EQ(GetDlgItem(PageWindow(), IDC_QEL_TEST_EDIT), GetFocus());
    MSG elsewhere = tab;
    elsewhere.hwnd = frame_;
    EXPECT_EQ(S_FALSE, page_->TranslateAccelerator(&elsewhere));
    EXPECT_EQ(E_POINTER, page_->TranslateAccelerator(nullptr));
    Close();
}

TEST_F(PropertyPageTest, ClassicDialogTemplateBecomesAHiddenChildPageToo) {
    ComPtr<IPropertyPage> classic;
    ASSERT_EQ(S_OK, server_.Factory(CLSID_QelTestClassicPage)->CreateInstance(nullptr, IID_IPropertyPage, &classic));
    PROPPAGEINFO info = {}, extendedInfo = {};
    ASSERT_EQ(S_OK, classic->GetPageInfo(&info));
    ASSERT_EQ(S_OK, page_->GetPageInfo(&extendedInfo));
    EXPECT_EQ(extendedInfo.size.cx, info.size.cx) << "same units and font as the DIALOGEX page";
    EXPECT_EQ(extendedInfo.size.cy, info.size.cy);
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(extendedInfo.pszTitle);

    IUnknown* objects[] = {value_.Get()};
    ASSERT_EQ(S_OK, classic->SetObjects(1, objects));
    const RECT where = {0, 0, 200, 100};
    ASSERT_EQ(S_OK, classic->Activate(frame_, &where, FALSE));
    HWND window = PageWindow();
    ASSERT_NE(nullptr, window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_NE(nullptr, GetDlgItem(window, IDC_QEL_TEST_ENABLE));
    EXPECT_EQ(S_OK, classic->Deactivate());
    EXPECT_EQ(S_OK, classic->SetObjects(0, nullptr));
}

TEST_F(PropertyPageTest, ReleasingAnActivePageDestroysItsWindow) {
    Open();
    HWND page = PageWindow();
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(S_OK, page_->SetObjects(0, nullptr));
    page_.Reset();
    EXPECT_FALSE(IsWindow(page));
}

} // namespace
