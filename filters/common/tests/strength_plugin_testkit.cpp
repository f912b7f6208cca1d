#include "strength_plugin_testkit.h"
#include "test_page_site.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace strengthtest {

namespace {

constexpr int kEnableCheckBox = 1016;
constexpr int kTrackbar = 1017;
constexpr int kEdit = 1018;

std::string TextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// One page connected to one filter and shown in a parent window.
struct OpenPage {
    ComPtr<IPropertyPage> page;
    plugintest::TestPageSite site;
    HWND parent = nullptr;
    HWND dialog = nullptr;

    bool Open(REFCLSID pageClsid, IUnknown* filter) {
        if (FAILED(CoCreateInstance(pageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page))))
            return false;
        if (FAILED(page->SetPageSite(&site)))
            return false;
        IUnknown* objects[] = {filter};
        if (FAILED(page->SetObjects(1, objects)))
            return false;
        parent = CreateWindowExW(0, L"STATIC", L"page frame", WS_OVERLAPPEDWINDOW, 0, 0, 420, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        RECT rect = {0, 0, 400, 260};
        if (!parent || FAILED(page->Activate(parent, &rect, FALSE)))
            return false;
        dialog = GetWindow(parent, GW_CHILD);
        return dialog != nullptr;
    }
    // Closing the frame: the page goes away and lets go of the filter.
    void Close() {
        if (page) {
            page->Deactivate();
            page->SetObjects(0, nullptr);
            page->SetPageSite(nullptr);
            page.Reset();
        }
        if (parent)
            DestroyWindow(parent);
        parent = dialog = nullptr;
    }
    ~OpenPage() { Close(); }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    void Type(const char* text) { SetWindowTextA(Item(kEdit), text); }
    void Slide(int position) {
        SendMessageW(Item(kTrackbar), TBM_SETPOS, TRUE, position);
        SendMessageW(dialog, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(Item(kTrackbar)));
    }
};

} // namespace

void StrengthPluginTest::SetUp() {
    ComTest::SetUp();
    module_ = std::make_unique<plugintest::PluginModule>(plugin_.module);
    ASSERT_TRUE(module_->Loaded()) << "cannot load the module, error " << GetLastError();
    ASSERT_EQ(S_OK, module_->Register());
}

void StrengthPluginTest::TearDown() {
    // The registration stays: tests in other processes may be creating the same classes.
    module_.reset();
    ComTest::TearDown();
}

ComPtr<IBaseFilter> StrengthPluginTest::Create() {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(S_OK,
              CoCreateInstance(*plugin_.filterClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
    return filter;
}

ComPtr<IQelStrengthParams> StrengthPluginTest::ParamsOf(IUnknown* filter) {
    ComPtr<IQelStrengthParams> params;
    EXPECT_EQ(S_OK,
              filter->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(params.GetAddressOf())));
    return params;
}

int StrengthPluginTest::ExpectFramesFromKernel(const FrameKernel& kernel, int strength,
                                               const plugintest::TestVideo& video) {
    ComPtr<IBaseFilter> filter = Create();
    if (!filter)
        return 0;
    ComPtr<IQelStrengthParams> params = ParamsOf(filter.Get());
    if (!params)
        return 0;
    EXPECT_EQ(S_OK, params->SetStrength(strength));
    const plugintest::GraphResult result = plugintest::PlayThrough(filter.Get(), plugin_.filterName, video);
    EXPECT_EQ(S_OK, result.connect);
    EXPECT_TRUE(SUCCEEDED(result.run));
    EXPECT_EQ(static_cast<size_t>(video.frames), result.frames.size());
    const int stride = plugintest::StrideOf(video);
    int changed = 0;
    for (const plugintest::CapturedFrame& frame : result.frames) {
        const int n = static_cast<int>(frame.start / video.frameTime);
        const std::vector<BYTE> input = plugintest::TestFrame(video, n);
        std::vector<BYTE> expected(input);
        kernel(input.data(), expected.data(), video.width, video.height, stride, strength);
        size_t firstDifference = 0;
        while (firstDifference < expected.size() && firstDifference < frame.bytes.size() &&
               expected[firstDifference] == frame.bytes[firstDifference])
            ++firstDifference;
        EXPECT_TRUE(expected == frame.bytes)
            << "frame " << n << ": " << frame.bytes.size() << " bytes, " << expected.size()
            << " expected, first difference at " << firstDifference;
        changed += frame.bytes != input ? 1 : 0;
    }
    return changed;
}

void StrengthPluginTest::ExpectPageBehaviour() {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    ComPtr<IQelStrengthParams> params = ParamsOf(filter.Get());
    ASSERT_TRUE(params);
    int strength = -1, enable = -1;

    {
        // Typed values are held to 0..100 in the edit and reach the filter at once.
        OpenPage page;
        ASSERT_TRUE(page.Open(*plugin_.pageClsid, filter.Get()));
        EXPECT_EQ("50", TextOf(page.Item(kEdit)));
        EXPECT_EQ(50, SendMessageW(page.Item(kTrackbar), TBM_GETPOS, 0, 0));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page.dialog, kEnableCheckBox));
        page.Type("150");
        EXPECT_EQ("100", TextOf(page.Item(kEdit)));
        params->GetStrength(&strength);
        EXPECT_EQ(100, strength);
        EXPECT_EQ(100, SendMessageW(page.Item(kTrackbar), TBM_GETPOS, 0, 0));
        page.Type("-5");
        EXPECT_EQ("0", TextOf(page.Item(kEdit)));
        params->GetStrength(&strength);
        EXPECT_EQ(0, strength);
        EXPECT_GT(page.site.dirtyReports, 0);

        // The trackbar and the check box too; closing without Apply puts the old values back.
        page.Slide(30);
        EXPECT_EQ("30", TextOf(page.Item(kEdit)));
        params->GetStrength(&strength);
        EXPECT_EQ(30, strength);
        SendMessageW(page.Item(kEnableCheckBox), BM_CLICK, 0, 0);
        params->GetEnable(&enable);
        EXPECT_EQ(0, enable);
        EXPECT_FALSE(IsWindowEnabled(page.Item(kTrackbar)));
        EXPECT_FALSE(IsWindowEnabled(page.Item(kEdit)));
        page.Close();
        params->GetStrength(&strength);
        params->GetEnable(&enable);
        EXPECT_EQ(50, strength) << "cancel restores the strength";
        EXPECT_EQ(1, enable) << "cancel restores the enable";
    }
    {
        // Apply keeps the values, and a new page starts from them.
        OpenPage page;
        ASSERT_TRUE(page.Open(*plugin_.pageClsid, filter.Get()));
        page.Type("75");
        SendMessageW(page.Item(kEnableCheckBox), BM_CLICK, 0, 0);
        EXPECT_EQ(S_OK, page.page->Apply());
        page.Close();
        params->GetStrength(&strength);
        params->GetEnable(&enable);
        EXPECT_EQ(75, strength);
        EXPECT_EQ(0, enable);

        OpenPage again;
        ASSERT_TRUE(again.Open(*plugin_.pageClsid, filter.Get()));
        EXPECT_EQ("75", TextOf(again.Item(kEdit)));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(again.dialog, kEnableCheckBox));
        EXPECT_FALSE(IsWindowEnabled(again.Item(kTrackbar)));
    }
}

std::wstring StrengthPluginTest::PageTitle() {
    ComPtr<IPropertyPage> page;
    if (FAILED(CoCreateInstance(*plugin_.pageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page))))
        return L"(no page)";
    PROPPAGEINFO info = {};
    if (FAILED(page->GetPageInfo(&info)))
        return L"(no page information)";
    std::wstring title = info.pszTitle ? info.pszTitle : L"";
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    return title;
}

} // namespace strengthtest
