// AfxMessageBox and the extension-library record.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "qeltest/message_box_hook.h"

namespace {

TEST(AfxWinTest, MessageBoxGoesThroughTheHookWithTheProgramNameAsCaption) {
    qeltest::ScopedMessageBoxHook hook(IDOK);
    hook.QueueAnswer(IDNO);
    EXPECT_EQ(IDNO, AfxMessageBox("Failed to create Flip Filter", MB_YESNO));
    EXPECT_EQ(IDOK, AfxMessageBox("second"));
    const auto shown = hook.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Failed to create Flip Filter", shown[0].text);
    EXPECT_EQ("qelmfc_test", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), shown[0].type);
    EXPECT_EQ(static_cast<UINT>(MB_OK), shown[1].type);
}

TEST(AfxWinTest, ExtensionModuleRecordIsFilledOnceAndCleared) {
    AFX_EXTENSION_MODULE state = {};
    EXPECT_FALSE(AfxInitExtensionModule(state, nullptr));
    EXPECT_FALSE(state.bInitialized);

    const HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_TRUE(AfxInitExtensionModule(state, self));
    EXPECT_TRUE(state.bInitialized);
    EXPECT_EQ(self, state.hModule);
    EXPECT_EQ(self, state.hResource);

    // A second start-up keeps the first module.
    EXPECT_TRUE(AfxInitExtensionModule(state, GetModuleHandleA("kernel32.dll")));
    EXPECT_EQ(self, state.hModule);

    AfxTermExtensionModule(state, FALSE);
    EXPECT_FALSE(state.bInitialized);
    EXPECT_EQ(nullptr, state.hModule);
}

} // namespace
